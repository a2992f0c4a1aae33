#!/usr/bin/env bash
# Times the title-formatting language against plain field reads over a
# 100,000-track playlist; the last line printed is "ratio X" (lower is better,
# the goal is 3 or less).
#
#   bench/titleformat.sh [tracks] [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QOV_BUILD:-build}"
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target titleformat_bench >/dev/null
exec "$build/bench/titleformat_bench" "$@"
