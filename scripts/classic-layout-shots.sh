#!/usr/bin/env bash
# Screenshots of the whole classic layout (toolbar, tab strip, playlist,
# seekbar, status bar) in the light, dark and dark monochrome themes: more
# playlists than the strip can show, one of them locked, close buttons on and
# the pointer over a tab, a track paused; and the library search window over
# the same library. Writes PNGs into OUT (default build/classic-layout-shots)
# and prints their paths.
set -euo pipefail
. "$(dirname "$0")/shots-common.sh" classic-layout-shots "$@"

albums -metadata genre=Folk

settings() {  # PROFILE THEME
  mkdir -p "$1"
  sqlite3 "$1/config.sqlite" <<SQL
CREATE TABLE IF NOT EXISTS config(name TEXT PRIMARY KEY NOT NULL, value NOT NULL);
INSERT OR REPLACE INTO config VALUES('cfg_var.93C1E7A4-2F58-4B0D-8A61-5E0CB74219D3', $2);
INSERT OR REPLACE INTO config VALUES('cfg_var.B83E2F61-4CA9-4D17-950E-7A31C60D52E8', 1);
SQL
}

shoot() {  # NAME THEME
  local name="$1" theme="$2"
  settings "$work/$name" "$theme"
  {
    echo "new-playlist Road Trip"
    echo "add \"$work/music/Harbour Lights\" \"$work/music/North\""
    echo "new-playlist Kept for Later"
    echo "add \"$work/music/Résumé.flac\""
    for p in "Evening" "Morning Coffee" "שירים בעברית" "Workout — a much longer playlist name than fits" \
             "Jazz" "Rainy Days" "Ünïcødé" "Road Trip II" "Focus" "Sleep" "Party" "Classics"; do
      echo "new-playlist $p"
    done
    echo "activate 1"
    echo "wait 0.5"
    # The tab menu: New Playlist, Rename, Remove, Lock Playlist.
    echo "click classic-tabs@\"Kept for Later\" right"
    echo "key down"; echo "key down"; echo "key down"; echo "key down"; echo "key return"
    echo "activate 0"
    echo "play 2"
    echo "wait-until playing"
    echo "pause"
    echo "volume -9"
    echo "wait 0.5"
    echo "hover classic-tabs@\"Road Trip\""
    echo "wait 0.3"
    echo "screenshot $out/$name-layout.png"
    echo "screenshot $out/$name-tabs.png classic-tabs"
    echo "menu Library/Search Library..."
    echo "wait 0.5"
    echo "type light"
    echo "wait 0.3"
    echo "screenshot $out/$name-library.png window Search Library"
    echo "quit"
  } > "$work/$name.qvs"
  "$build/bin/quorvane" --profile "$work/$name" --library "$work/music" --script "$work/$name.qvs"
}

shoot light 1
shoot dark 2
shoot monochrome 3
ls "$out"/*.png
