#!/usr/bin/env bash
# Soak: the player on a silent clock, a playlist of 1,000 generated tracks,
# a track change every 50 ms for 10,000 changes while the seekbars scan,
# every element of the layout open; then quit. Passes when the player exits 0
# and its resident memory at the end is within 10 % of what it was after the
# first 1,000 changes. Prints both figures. About ten minutes.
#
#   scripts/soak.sh [CHANGES]
set -euo pipefail
cd "$(dirname "$0")/.."
changes=${1:-10000}
mark=$((changes / 10))
build="${QOV_BUILD:-build}"
scripts/build.sh >/dev/null

work="$(mktemp -d)"
host=""
cleanup() {
  [ -n "$host" ] && kill "$host" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# One half-minute tone, under 1,000 names: as many tracks to the player (and
# to the waveform cache), one file on disk.
ffmpeg -v quiet -y -f lavfi -i "sine=frequency=330:duration=30:sample_rate=22050" -ac 2 -c:a flac "$work/tone.flac"
mkdir "$work/tracks"
for i in $(seq -w 0 999); do ln "$work/tone.flac" "$work/tracks/$i.flac"; done

# Every element there is, each one open: both components' and both seekbars.
cat > "$work/soak.layout" <<'LAYOUT'
classic-toolbar
classic-tabs
classic-playlist
waveform-seekbar time=sides
classic-statusbar
ovix-header
waveform-seekbar
ovix-tabs
ovix-playlist
ovix-footer
LAYOUT

{
  echo "new-playlist Soak"
  echo "add $work/tracks"
  echo "order \"Repeat (playlist)\""
  echo "play 0"
  echo "wait-until playing 60"
  for ((n = 1; n <= changes; n++)); do
    echo "next"
    echo "wait 0.05"
    [ "$n" -eq "$mark" ] && echo "dump $work/mark.json"
  done
  echo "dump $work/end.json"
  # Time to read the memory before the player goes.
  echo "wait 2"
  echo "quit"
} > "$work/soak.qvs"

rss() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$host/status"; }
# Waits for FILE and reads the resident memory then; "" when the player ended first.
rssAt() {
  while [ ! -e "$1" ]; do
    kill -0 "$host" 2>/dev/null || return 0
    sleep 0.05
  done
  rss
}

started=$(date +%s)
QT_QPA_PLATFORM=offscreen QUORVANE_AUDIO=null "$build/bin/quorvane" --profile "$work/profile" \
  --layout "$work/soak.layout" --script "$work/soak.qvs" 2> "$work/console.txt" &
host=$!
atMark=$(rssAt "$work/mark.json")
atEnd=$(rssAt "$work/end.json")
status=0
wait "$host" || status=$?
host=""
seconds=$(( $(date +%s) - started ))

echo "changes: $changes in ${seconds}s; player exit status $status"
if [ -z "$atMark" ] || [ -z "$atEnd" ]; then
  echo "the player ended before the end of the script:" >&2
  tail -n 20 "$work/console.txt" >&2
  exit 1
fi
growth=$(awk -v a="$atMark" -v b="$atEnd" 'BEGIN { printf "%+.1f", (b - a) * 100 / a }')
echo "resident memory after $mark changes: $((atMark / 1024)) MiB; at the end: $((atEnd / 1024)) MiB (${growth} %)"
if [ "$status" -ne 0 ]; then
  tail -n 20 "$work/console.txt" >&2
  exit 1
fi
awk -v a="$atMark" -v b="$atEnd" 'BEGIN { exit !(b <= a * 1.10) }' || { echo "memory grew more than 10 %" >&2; exit 1; }
