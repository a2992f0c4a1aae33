#pragma once

// The playlist keys of the tab strip, by where the keys sit on the keyboard
// (so they work under any layout) and with exactly their modifiers: Command
// and Shift and 1 is not Command and 1. Any thread.

#include <cstddef>

namespace tab_shortcuts {

enum class Action {
    None,
    Activate,  // the playlist `index`, or the last one when there are fewer
    ActivateLast,
    ShowPlaying,  // the playing item, in its playlist
    NewPlaylist,
    RestoreClosed,  // the most recently closed playlist
    CloseActive,
};

struct Shortcut {
    Action action = Action::None;
    size_t index = 0;  // Activate
};

// `modifiers` in the Mac's bits (platform::mods); bits other than Shift,
// Control, Option and Command do not count.
Shortcut shortcutFor(int keyPosition, unsigned modifiers);

// Left and right arrow without modifiers step through the playlists: -1, +1,
// or 0 for any other key.
int arrowStep(int keyPosition);

// The playlist `step` away from `active` among `count`, round the ends; the
// first when none is active. SIZE_MAX when there are no playlists.
size_t stepped(size_t active, size_t count, int step);

// The playlist Command and a digit activates.
size_t activated(size_t index, size_t count);

}  // namespace tab_shortcuts
