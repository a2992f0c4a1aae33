#include "ClosedTracker.h"

#include "Beep.h"

ClosedPlaylists g_closed;
std::unique_ptr<ClosedTracker> g_closedTracker;

void ClosedTracker::on_playlists_removing(const bit_array& mask, size_t old_count, size_t) {
    auto pm = qvn::std_api_get<playlist_manager>();
    for (size_t i = 0; i < old_count; ++i) {
        if (!mask.get(i)) continue;
        ClosedPlaylist entry;
        cvk::stringLite name;
        pm->playlist_get_name(i, name);
        entry.name = name.str();
        pm->playlist_get_all_items(i, entry.items);
        g_closed.record(std::move(entry));
    }
}

void startClosedTracker() { g_closedTracker = std::make_unique<ClosedTracker>(); }

void stopClosedTracker() { g_closedTracker.reset(); }

void restoreClosed(size_t position) {
    const size_t at = g_closed.resolve(position);
    std::optional<ClosedPlaylist> entry = g_closed.take(at);
    if (!entry) {
        platform::beep();
        return;
    }
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t made = pm->create_playlist(entry->name.c_str(), SIZE_MAX, SIZE_MAX);
    if (made == SIZE_MAX) {
        // Refused: the entry is all that is left of the playlist.
        g_closed.putBack(at, std::move(*entry));
        platform::beep();
        return;
    }
    pm->playlist_add_items(made, entry->items, bit_array_false());
    pm->set_active_playlist(made);
}
