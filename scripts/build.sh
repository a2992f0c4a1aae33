#!/usr/bin/env bash
# Configures and builds into build/ (or $QOV_BUILD): everything, or the
# targets named. QOV_SANITIZE=address or thread makes a sanitized tree.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QOV_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQOV_SANITIZE="${QOV_SANITIZE:-}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
