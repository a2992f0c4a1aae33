#!/usr/bin/env bash
# Times the library search's matching (every word, case and accents ignored)
# against a plain case-sensitive byte search (memmem) of the same texts over a
# 100,000-track library, per keystroke; the last line printed is "ratio X"
# (lower is better, the goal is 3 or less).
#
#   bench/library_search.sh [tracks] [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QOV_BUILD:-build}"
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target library_search_bench >/dev/null
exec "$build/bench/library_search_bench" "$@"
