#!/usr/bin/env bash
# Installs what is missing, builds, and runs the player. Without a display it
# runs offscreen and writes screenshots instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh >/dev/null
host="${QOV_BUILD:-build}/bin/quorvane"
profile="${QOV_PROFILE:-$PWD/${QOV_BUILD:-build}/demo-profile}"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
  "$host" --profile "$profile" --list-components
  mkdir -p "$profile/screenshots"
  "$host" --profile "$profile" --screenshot "$profile/screenshots/window.png"
  echo "$profile/screenshots/window.png"
else
  exec "$host" --profile "$profile" "$@"
fi
