#pragma once

// Recently closed playlists: from start-up to shut-down every playlist the
// player is about to remove, by any means, is copied (name and tracks) into
// g_closed, from which the tab menu and Command-Shift-T bring it back. Nothing
// of it is saved. Main thread.

#include "ClosedPlaylists.h"
#include "playlist_callback.h"

#include <memory>

class ClosedTracker : public playlist_callback_impl_base {
public:
    ClosedTracker() : playlist_callback_impl_base(flag_on_playlists_removing) {}

    void on_playlists_removing(const bit_array& mask, size_t old_count, size_t new_count) override;
};

extern ClosedPlaylists g_closed;
extern std::unique_ptr<ClosedTracker> g_closedTracker;

void startClosedTracker();
void stopClosedTracker();

// Creates the entry's playlist at the end and makes it active; past the end,
// the most recent entry. When the player refuses, the entry stays in the list
// where it was, and a beep says so; an empty list beeps too.
void restoreClosed(size_t position);
