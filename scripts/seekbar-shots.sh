#!/usr/bin/env bash
# Screenshots of the waveform seekbar in the real window: light and dark, with
# and without side times, while a long track is being scanned and once it is
# complete, and with the hover label. Writes PNGs into OUT (default
# build/seekbar-shots) and prints their paths.
set -euo pipefail
. "$(dirname "$0")/shots-common.sh" seekbar-shots "$@"

# Forty minutes of swelling chords over noise: long enough to catch the scan
# half way, shaped enough to look like music.
ffmpeg -v quiet -y \
  -f lavfi -i "sine=frequency=196:duration=2400" -f lavfi -i "sine=frequency=247:duration=2400" \
  -f lavfi -i "anoisesrc=color=pink:amplitude=0.3:duration=2400" \
  -filter_complex "[0][1][2]amix=inputs=3:normalize=0,volume='0.2+0.8*abs(sin(2*PI*t/300))':eval=frame,aformat=sample_rates=44100:channel_layouts=stereo" \
  -c:a flac "$work/long.flac"

cat > "$work/bars.layout" <<'LAYOUT'
waveform-seekbar time=sides
waveform-seekbar
LAYOUT

cat > "$work/shots.qvs" <<SCRIPT
appearance light
new-playlist Seekbar
add $work/long.flac
play 0
wait 0.5
screenshot $out/light-scanning-sides.png waveform-seekbar#0
screenshot $out/light-scanning.png waveform-seekbar#1
seek 900
wait 6
screenshot $out/light-complete-sides.png waveform-seekbar#0
screenshot $out/light-complete.png waveform-seekbar#1
hover waveform-seekbar#0 700 20
screenshot $out/light-hover-sides.png waveform-seekbar#0
appearance dark
hover waveform-seekbar#1 980 20
wait 0.3
screenshot $out/dark-complete-sides.png waveform-seekbar#0
screenshot $out/dark-hover.png waveform-seekbar#1
screenshot $out/dark-window.png
quit
SCRIPT

"$build/bin/quorvane" --profile "$work/profile" --layout "$work/bars.layout" --script "$work/shots.qvs"
ls "$out"/*.png
