#!/usr/bin/env bash
# Installs what is missing, builds, and plays the generated demo library in
# the player. Without a display it runs offscreen, writes screenshots of the
# window and prints their paths.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh >/dev/null
build="${QOV_BUILD:-build}"
exec "$build/bin/quorvane" --demo --profile "${QOV_PROFILE:-$PWD/$build/demo-profile}" "$@"
