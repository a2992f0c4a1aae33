#!/usr/bin/env bash
# Times the title-formatting language against plain field reads over a
# 100,000-track playlist; the last line printed is "ratio X" (lower is better,
# the goal is 3 or less).
#
#   bench/titleformat.sh [tracks] [repetitions]
#
# Uses QOV_TITLEFORMAT_BENCH when it names a built program; otherwise builds one
# (optimised, without Qt) in ${QOV_BENCH_BUILD:-build-bench}.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

bin="${QOV_TITLEFORMAT_BENCH:-}"
if [[ -z "$bin" || ! -x "$bin" ]]; then
    build="${QOV_BENCH_BUILD:-$root/build-bench}"
    if [[ ! -f "$build/build.ninja" ]]; then
        cmake -S "$root/bench" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    ninja -C "$build" titleformat_bench >/dev/null
    bin="$build/titleformat_bench"
fi

exec "$bin" "$@"
