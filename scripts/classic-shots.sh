#!/usr/bin/env bash
# Screenshots of the Classic playlist in the real window, grouped by album with
# a custom accent: light, dark and dark monochrome, and the monochrome theme
# with the system accent; each with the playing (paused) track, a queued track
# and a selected row, then searching, and its preferences page. Writes PNGs
# into OUT (default build/classic-shots) and prints their paths.
set -euo pipefail
. "$(dirname "$0")/shots-common.sh" classic-shots "$@"

# Two tagged albums, a single and a track without tags.
albums
track "$work/music/untagged.flac" 5

# The settings as the page would store them (the store is the host's SQLite file).
settings() {  # PROFILE THEME
  mkdir -p "$1"
  sqlite3 "$1/config.sqlite" <<SQL
CREATE TABLE IF NOT EXISTS config(name TEXT PRIMARY KEY NOT NULL, value NOT NULL);
INSERT OR REPLACE INTO config VALUES('cfg_var.93C1E7A4-2F58-4B0D-8A61-5E0CB74219D3', $2);
INSERT OR REPLACE INTO config VALUES('cfg_var.4E7B20D9-C613-4F8A-B29D-7018E53AC64F', '${3:-}');
INSERT OR REPLACE INTO config VALUES('cfg_var.77A2C3E9-1B05-4D6F-9C24-E15A803D6B12', 'album');
INSERT OR REPLACE INTO config VALUES('cfg_var.0C7D3E51-6B2A-4F9E-831C-A4592ED706BB',
  'index' || char(9) || '40' || char(10) || 'playing' || char(9) || '60' || char(10) ||
  'titleartist' || char(9) || '300' || char(10) || 'trackno' || char(9) || '60' || char(10) ||
  'duration' || char(9) || '60' || char(10) || 'path' || char(9) || '450');
SQL
}

shoot() {  # NAME THEME APPEARANCE [ACCENT]
  local name="$1" theme="$2" appearance="$3" accent="${4:-}"
  settings "$work/$name" "$theme" "$accent"
  cat > "$work/$name.qvs" <<SCRIPT
appearance $appearance
new-playlist Shots
add "$work/music/Harbour Lights" "$work/music/North" "$work/music/Résumé.flac" "$work/music/untagged.flac"
play 1
wait 0.3
pause
click classic-playlist#0@Static right
click popup@"Add to Playback Queue"
click classic-playlist#0@"The Long Way Round (Extended Version)"
wait 0.3
screenshot $out/$name.png classic-playlist#0
screenshot $out/$name-window.png
key cmd+f
type lanterns glass
screenshot $out/$name-search.png classic-playlist#0
prefs Classic UI
screenshot $out/$name-prefs.png preferences
quit
SCRIPT
  "$build/bin/quorvane" --profile "$work/$name" --layout "$work/playlist.layout" --script "$work/$name.qvs"
}

printf 'classic-playlist\nwaveform-seekbar\n' > "$work/playlist.layout"
shoot light 1 light E0561B
shoot dark 2 dark E0561B
shoot monochrome-accent 3 dark E0561B
shoot monochrome 3 dark
ls "$out"/*.png
