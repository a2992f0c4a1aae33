#!/usr/bin/env bash
# Times the library search's matching (every word, case and accents ignored)
# against a plain case-sensitive byte search (memmem) of the same texts over a
# 100,000-track library, per keystroke; the last line printed is "ratio X"
# (lower is better, the goal is 3 or less).
#
#   bench/library_search.sh [tracks] [repetitions]
set -euo pipefail
. "$(dirname "$0")/common.sh" library_search_bench
exec "$build/bench/library_search_bench" "$@"
