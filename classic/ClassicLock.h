#pragma once

// The Classic playlist lock: the user puts it on a playlist from the tab menu
// to freeze what the playlist holds (no adding, removing or reordering, and
// the playlist cannot be removed; renaming stays allowed). The playlist keeps
// a property that marks it, so the lock comes back at the next start. Main
// thread.

#include "guid.h"
#include "playlist_lock.h"

#include <cstddef>
#include <vector>

// Marks a playlist locked by this component; its presence is what counts.
inline constexpr GUID kLockProperty{
    0x6A0C4D93, 0x7E21, 0x4B58, {0x9F, 0x36, 0xD1, 0x84, 0x2B, 0x5E, 0x70, 0xA9}};

class ClassicLock : public playlist_lock {
public:
    static constexpr uint32_t kFilterMask =
        filter_add | filter_remove | filter_reorder | filter_remove_playlist;

    bool query_items_add(size_t, const metadb_handle_list&, const bit_array&) override { return false; }
    bool query_items_reorder(const size_t*, size_t) override { return false; }
    bool query_items_remove(const bit_array&, bool) override { return false; }
    bool query_item_replace(size_t, const service_ptr_t<metadb_handle>&,
                            const service_ptr_t<metadb_handle>&) override {
        return true;
    }
    bool query_playlist_rename(const char*, size_t) override { return true; }
    bool query_playlist_remove() override { return false; }
    bool execute_default_action(size_t) override { return false; }
    void on_playlist_index_change(size_t) override {}
    void on_playlist_remove() override {}
    void get_lock_name(cvk::string_base& out) override { out.set_string("Locked (Classic UI)"); }
    void show_ui() override {}
    uint32_t get_filter_mask() override { return kFilterMask; }
};

// The locks this component has installed, in the order it installed them.
extern std::vector<service_ptr_t<ClassicLock>> g_locks;

// The playlist carries this component's lock marker.
bool isLockedByUs(size_t playlist);

// Locks the playlist, or unlocks it when the strip shows it locked. Another
// component's lock stays, but this component's marker goes. Beeps when the
// player refuses the lock.
void toggleLock(size_t playlist, bool shownLocked);

// At start-up: locks again each marked playlist that carries no lock yet.
void reinstallLocks();
