# Sourced by the screenshot scripts, as `. scripts/shots-common.sh NAME "$@"`:
# from the repository's root, the build folder ($build), the output folder
# ($out: the script's first argument, or build/NAME), a scratch folder ($work)
# removed on exit, the host offscreen and silent; and music made with ffmpeg.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${QOV_BUILD:-build}"
out="$(realpath -m "${2:-$build/$1}")"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen QUORVANE_AUDIO=null

track() {  # FILE SECONDS [ffmpeg -metadata arguments...]
  local file="$1" seconds="$2"
  shift 2
  mkdir -p "$(dirname "$file")"
  ffmpeg -v quiet -y -f lavfi -i "sine=frequency=$((220 + RANDOM % 400)):duration=$seconds" "$@" "$file"
}

# Two tagged albums and a single in $work/music; the arguments go to every
# album track.
albums() {  # [ffmpeg -metadata arguments...]
  local n=0 title
  for title in "Morning Light" "River Song" "Glass House" "The Long Way Round (Extended Version)"; do
    n=$((n + 1))
    track "$work/music/Harbour Lights/0$n.flac" $((60 + n * 17)) -metadata artist="The Lanterns" \
      -metadata album_artist="The Lanterns" -metadata album="Harbour Lights" -metadata date=1998 \
      -metadata title="$title" -metadata track=$n "$@"
  done
  n=0
  for title in "Static" "Paper Moon" "Ember"; do
    n=$((n + 1))
    track "$work/music/North/0$n.flac" $((150 + n * 9)) -metadata artist="Ada Winter" -metadata album="North" \
      -metadata date=2011 -metadata title="$title" -metadata track=$n "$@"
  done
  track "$work/music/Résumé.flac" 42 -metadata artist="Café Tacvba" -metadata title="Résumé" -metadata album="Single"
}
