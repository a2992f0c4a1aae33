#!/usr/bin/env bash
# Screenshots of the ovix layout in the real window, light and dark: stopped,
# playing a track with cover art, paused, and a selection over several
# playlists. Plays the demo library (made once in a scratch profile). Writes
# PNGs into OUT (default build/ovix-shots) and prints their paths.
set -euo pipefail
. "$(dirname "$0")/shots-common.sh" ovix-shots "$@"

# The demo makes its library and a "Demo" playlist in the profile, plays it
# and quits; its own pictures are not wanted here.
"$build/bin/quorvane" --demo --profile "$work/profile" >/dev/null

cat > "$work/shots.qvs" <<SCRIPT
appearance light
new-playlist Favourites
new-playlist "Road trip"
activate 0
stop
wait-until stopped
wait 0.4
screenshot $out/light-stopped.png
play 0
wait-until position>=1.5
screenshot $out/light-playing.png
pause
wait-until paused
wait 0.4
screenshot $out/light-paused.png
click ovix-playlist 200 270
click ovix-playlist 200 300
appearance dark
wait 0.4
screenshot $out/dark-paused.png
resume
wait-until playing
wait 0.4
screenshot $out/dark-playing.png
stop
wait-until stopped
wait 0.4
screenshot $out/dark-stopped.png
quit
SCRIPT

"$build/bin/quorvane" --profile "$work/profile" --layout ovix --script "$work/shots.qvs"
ls "$out"/*.png
