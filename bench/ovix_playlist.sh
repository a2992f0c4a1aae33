#!/usr/bin/env bash
# Times the Ovix playlist's rebuild of a 100,000-track playlist (four patterns
# an item) against the host's plain formatting loop of the same patterns over
# the same tracks, and prints the footer's totals time beside it; the last
# line printed is "ratio X" (lower is better, the goal is 1.3 or less).
#
#   bench/ovix_playlist.sh [tracks] [repetitions]
set -euo pipefail
. "$(dirname "$0")/common.sh" ovix_playlist_bench
QT_QPA_PLATFORM=offscreen exec "$build/bench/ovix_playlist_bench" "$@"
