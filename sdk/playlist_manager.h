#pragma once

// The host's playlists: their items, selection and focus, undo, the playback
// queue, playback orders and locks.
//
// Threads: main thread only.
// Ownership: the host's one instance; fetch with qvn::std_api_get. Lists and
// masks passed in are read during the call only.
// Indices: playlists and items are size_t; SIZE_MAX means none. An index past
// the end refuses the operation (false, SIZE_MAX or nothing done) and is never
// a fatal stop, since views work from snapshots that can be a turn stale.
// Refusals: an installed playlist_lock whose filter mask covers the change can
// refuse it; the call then returns false (or SIZE_MAX) and changes nothing.
// Every change is announced through playlist_callback.
// Permutations: order[new position] = old position; an order that is not a
// permutation of exactly the current count is refused.
// Text outs: `out` is replaced.

#include "bit_array.h"
#include "cvk_string.h"
#include "metadb_handle.h"
#include "playlist_lock.h"
#include "service.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class playlist_callback;

// One playback queue entry. `playlist` and `item` are SIZE_MAX for a track
// queued without a playlist.
struct t_playback_queue_item {
    service_ptr_t<metadb_handle> handle;
    size_t playlist = SIZE_MAX;
    size_t item = SIZE_MAX;
};

class playlist_manager : public service_base {
    QVN_SERVICE_INTERFACE(playlist_manager, service_base,
                          {0xEE85FDF6, 0xA47B, 0x4963, {0xAC, 0x28, 0xBE, 0xF5, 0x2F, 0xF9, 0x5B, 0x7D}});

    // --- Playlists ---
    virtual size_t get_playlist_count() = 0;
    virtual size_t get_active_playlist() = 0;
    // SIZE_MAX leaves no playlist active.
    virtual void set_active_playlist(size_t playlist) = 0;
    // `name_len` SIZE_MAX: up to the terminator. `position` past the end (or
    // SIZE_MAX) appends. Returns the new index, SIZE_MAX when refused.
    virtual size_t create_playlist(const char* name, size_t name_len, size_t position) = 0;
    virtual bool reorder_playlists(const size_t* order, size_t count) = 0;
    // False when the mask selects no existing playlist or a lock refuses any.
    // Removing the active playlist leaves none active; removing one before it
    // shifts the active index down.
    virtual bool remove_playlists(const bit_array& mask) = 0;
    virtual bool playlist_get_name(size_t playlist, cvk::string_base& out) = 0;
    virtual bool playlist_rename(size_t playlist, const char* name, size_t name_len) = 0;

    // --- Items ---
    virtual size_t playlist_get_item_count(size_t playlist) = 0;
    // The items whose bit is set, in playlist order; `out` is replaced.
    virtual void playlist_get_items(size_t playlist, metadb_handle_list& out, const bit_array& mask) = 0;
    // Null when out of range.
    virtual service_ptr_t<metadb_handle> playlist_get_item_handle(size_t playlist, size_t item) = 0;
    // Inserts before `base` (past the end appends); `selection` is over `data`
    // and sets the new items' selection. Returns the first new index, SIZE_MAX
    // when refused.
    virtual size_t playlist_insert_items(size_t playlist, size_t base, const metadb_handle_list& data,
                                         const bit_array& selection) = 0;
    virtual bool playlist_reorder_items(size_t playlist, const size_t* order, size_t count) = 0;
    // False when nothing is removed (empty mask, refusal).
    virtual bool playlist_remove_items(size_t playlist, const bit_array& mask) = 0;
    virtual bool playlist_replace_item(size_t playlist, size_t item,
                                       const service_ptr_t<metadb_handle>& track) = 0;

    // --- Selection and focus ---
    // Sized to the current item count; empty for a bad index.
    virtual bit_array_bittable playlist_get_selection_mask(size_t playlist) = 0;
    virtual bool playlist_is_item_selected(size_t playlist, size_t item) = 0;
    // Items marked in `affected` take their bit of `state`; others keep theirs.
    virtual void playlist_set_selection(size_t playlist, const bit_array& affected,
                                        const bit_array& state) = 0;
    // SIZE_MAX for none.
    virtual size_t playlist_get_focus_item(size_t playlist) = 0;
    virtual void playlist_set_focus_item(size_t playlist, size_t item) = 0;
    // Asks every view to scroll the item into sight (on_item_ensure_visible).
    virtual void playlist_ensure_visible(size_t playlist, size_t item) = 0;
    // Plays the item, unless its playlist's lock takes the action over.
    virtual bool playlist_execute_default_action(size_t playlist, size_t item) = 0;
    // False when the playing track came from no playlist (or nothing plays),
    // or its item has since been removed.
    virtual bool get_playing_item_location(size_t& playlist, size_t& item) = 0;

    // --- Undo ---
    // Records the playlist's state; the next change can then be undone.
    virtual void playlist_undo_backup(size_t playlist) = 0;
    virtual bool playlist_undo_restore(size_t playlist) = 0;
    virtual bool playlist_redo_restore(size_t playlist) = 0;
    virtual bool playlist_is_undo_available(size_t playlist) = 0;
    virtual bool playlist_is_redo_available(size_t playlist) = 0;

    // --- Playback queue ---
    virtual void queue_add_item_playlist(size_t playlist, size_t item) = 0;
    virtual void queue_add_item(const service_ptr_t<metadb_handle>& track) = 0;
    // `mask` is over queue positions.
    virtual void queue_remove_mask(const bit_array& mask) = 0;
    virtual void queue_flush() = 0;
    virtual size_t queue_get_count() = 0;
    // In queue order, the next to play first; `out` is replaced.
    virtual void queue_get_contents(std::vector<t_playback_queue_item>& out) = 0;

    // --- Playback orders ---
    virtual size_t playback_order_get_count() = 0;
    // The host's static text; null when out of range.
    virtual const char* playback_order_get_name(size_t index) = 0;
    virtual size_t playback_order_get_active() = 0;
    virtual void playback_order_set_active(size_t index) = 0;

    // --- Locks (at most one per playlist) ---
    // False when the playlist already has a lock or does not exist.
    virtual bool playlist_lock_install(size_t playlist, const service_ptr_t<playlist_lock>& lock) = 0;
    // False unless `lock` is the one installed there.
    virtual bool playlist_lock_uninstall(size_t playlist, const service_ptr_t<playlist_lock>& lock) = 0;
    virtual bool playlist_lock_is_present(size_t playlist) = 0;
    virtual bool playlist_lock_query_name(size_t playlist, cvk::string_base& out) = 0;
    virtual bool playlist_lock_show_ui(size_t playlist) = 0;
    // 0 when unlocked.
    virtual uint32_t playlist_lock_get_filter_mask(size_t playlist) = 0;

    // --- Callbacks (see playlist_callback.h) ---
    virtual void register_callback(playlist_callback* callback, uint32_t flags) = 0;
    virtual void modify_callback(playlist_callback* callback, uint32_t flags) = 0;
    // May be called from inside an event: the callback then receives nothing
    // more, not even the rest of the current event's delivery.
    virtual void unregister_callback(playlist_callback* callback) = 0;

    // --- Helpers over the operations above ---
    bool remove_playlist(size_t playlist) { return remove_playlists(bit_array_one(playlist)); }

    // Removes the playlist; when it was the active one and others remain, the
    // one now at its index (or the last) becomes active.
    bool remove_playlist_switch(size_t playlist) {
        const bool wasActive = get_active_playlist() == playlist;
        if (!remove_playlist(playlist)) return false;
        const size_t count = get_playlist_count();
        if (wasActive && count > 0) set_active_playlist(std::min(playlist, count - 1));
        return true;
    }

    void playlist_get_all_items(size_t playlist, metadb_handle_list& out) {
        playlist_get_items(playlist, out, bit_array_true());
    }
    void playlist_get_selected_items(size_t playlist, metadb_handle_list& out) {
        playlist_get_items(playlist, out, playlist_get_selection_mask(playlist));
    }
    size_t playlist_add_items(size_t playlist, const metadb_handle_list& data, const bit_array& selection) {
        return playlist_insert_items(playlist, SIZE_MAX, data, selection);
    }
    void playlist_clear_selection(size_t playlist) {
        playlist_set_selection(playlist, bit_array_true(), bit_array_false());
    }
    // `crop`: keep the selected items and remove the rest.
    bool playlist_remove_selection(size_t playlist, bool crop = false) {
        const bit_array_bittable selected = playlist_get_selection_mask(playlist);
        if (crop) return playlist_remove_items(playlist, bit_array_not(selected));
        return playlist_remove_items(playlist, selected);
    }
};

// Playlist properties: small binary values keyed by GUID that the host stores
// with the playlist and restores at the next start. The host registers its one
// manager under both class GUIDs, so either interface may be fetched.
class playlist_manager_v2 : public playlist_manager {
    QVN_SERVICE_INTERFACE(playlist_manager_v2, playlist_manager,
                          {0x1CB8F1CA, 0x62B1, 0x435B, {0xAE, 0xC1, 0xEA, 0xED, 0x86, 0x7E, 0xB8, 0x57}});

    // Replaces any earlier value. False for a bad index.
    virtual bool playlist_set_property(size_t playlist, const GUID& property, const void* data,
                                       size_t size) = 0;
    // `out` is replaced; false (and `out` empty) when absent.
    virtual bool playlist_get_property(size_t playlist, const GUID& property, std::vector<uint8_t>& out) = 0;
    virtual bool playlist_have_property(size_t playlist, const GUID& property) = 0;
    // False when there was none.
    virtual bool playlist_remove_property(size_t playlist, const GUID& property) = 0;
};

// True when `order` holds each of 0 .. count-1 exactly once.
inline bool order_is_permutation(const size_t* order, size_t count) {
    if (count > 0 && !order) return false;
    std::vector<bool> seen(count, false);
    for (size_t i = 0; i < count; ++i) {
        if (order[i] >= count || seen[order[i]]) return false;
        seen[order[i]] = true;
    }
    return true;
}
