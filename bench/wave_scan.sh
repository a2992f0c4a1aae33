#!/usr/bin/env bash
# Times a waveform scan (the host's decoder and the seekbar's reduction, through
# the same code the seekbar runs) against plain decoding by the ffmpeg command on
# the same file, alternating the two. Then, as after a restart, the time from the
# track change to the complete waveform of the same file kept in a waveform
# store, over the scan's time. The last line is "ratio X": median scan time over
# median decode time (the goal is 1.15 or less).
#
#   bench/wave_scan.sh [FILE] [runs]
# Without FILE it makes a 10-minute stereo 44.1 kHz FLAC once, in the build folder.
set -euo pipefail
. "$(dirname "$0")/common.sh" wave_scan_bench

file="${1:-}"
runs="${2:-7}"
if [ -z "$file" ]; then
  file="$build/bench/ten-minutes.flac"
  if [ ! -f "$file" ]; then
    # Chords over noise: something a FLAC encoder has to work at, like music.
    ffmpeg -v quiet -y -f lavfi -i "sine=frequency=220:duration=600" -f lavfi -i "sine=frequency=277:duration=600" \
      -f lavfi -i "anoisesrc=color=pink:amplitude=0.2:duration=600" \
      -filter_complex "[0][1][2]amix=inputs=3,aformat=sample_rates=44100:channel_layouts=stereo" \
      -c:a flac "$file.tmp.flac"
    mv "$file.tmp.flac" "$file"
  fi
fi

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
now() { date +%s.%N; }

scan_times=()
decode_times=()
for ((i = 0; i < runs; i++)); do
  t0=$(now); "$build/bench/wave_scan_bench" "$file" >/dev/null; t1=$(now)
  ffmpeg -v quiet -i "$file" -f null -; t2=$(now)
  scan_times+=("$(awk -v a="$t1" -v b="$t0" 'BEGIN { print a - b }')")
  decode_times+=("$(awk -v a="$t2" -v b="$t1" 'BEGIN { print a - b }')")
done
scan=$(printf '%s\n' "${scan_times[@]}" | median)
decode=$(printf '%s\n' "${decode_times[@]}" | median)
"$build/bench/wave_scan_bench" "$file" | tail -1
printf 'scan median %.3f s\ndecode median %.3f s\n' "$scan" "$decode"

# A run that scans and keeps the waveform, then runs that each start afresh
# and find it kept. Timed inside the program: track change to complete waveform.
store="$(mktemp -d)"
trap 'rm -rf "$store"' EXIT
"$build/bench/wave_scan_bench" "$file" "$store" >/dev/null
stored_times=()
for ((i = 0; i < runs; i++)); do
  stored_times+=("$("$build/bench/wave_scan_bench" "$file" "$store" | awk '{ print $2 }')")
done
stored=$(printf '%s\n' "${stored_times[@]}" | median)
awk -v t="$stored" -v s="$scan" \
  'BEGIN { printf "stored track: complete waveform %.1f ms after the track change (%.4f of a scan)\n", t * 1000, t / s }'
awk -v s="$scan" -v d="$decode" 'BEGIN { printf "ratio %.2f\n", s / d }'
