#!/usr/bin/env bash
# Times the title-formatting language against plain field reads over a
# 100,000-track playlist; the last line printed is "ratio X" (lower is better,
# the goal is 3 or less).
#
#   bench/titleformat.sh [tracks] [repetitions]
set -euo pipefail
. "$(dirname "$0")/common.sh" titleformat_bench
exec "$build/bench/titleformat_bench" "$@"
