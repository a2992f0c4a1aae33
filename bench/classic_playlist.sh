#!/usr/bin/env bash
# The Classic playlist over 100,000 generated tracks grouped by album: rebuild,
# first paint, scrolling a page, sorting by a column and the memory the element
# adds. The last line printed is "ratio X": the rebuild (rows and queue
# labels) over the host's plain formatting of the group pattern over the same
# tracks (the goal is 1.5 or less).
#
#   bench/classic_playlist.sh [tracks] [repetitions]
set -euo pipefail
. "$(dirname "$0")/common.sh" classic_playlist_bench
QT_QPA_PLATFORM=offscreen exec "$build/bench/classic_playlist_bench" "$@"
