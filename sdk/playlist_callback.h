#pragma once

// Playlist events, delivered to the callbacks registered with playlist_manager
// for them.
//
// Threads: registration and every event on the main thread. An event arrives
// after the host's state has changed (the *_removing events: just before), so
// a callback may query the manager; changing playlists from inside an event is
// allowed and delivers its own events after the current one.
// Ownership: a callback belongs to whoever registered it; the manager keeps a
// plain pointer until unregister, which must come before the callback dies and
// before its component is unloaded.
// Failure: none.

#include "bit_array.h"
#include "metadb_handle.h"
#include "playback_control.h"
#include "playlist_manager.h"
#include "std_api.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class playlist_callback {
public:
    // Event mask bits, one per event below, in this order.
    enum : uint32_t {
        flag_on_items_added = 1u << 0,
        flag_on_items_reordered = 1u << 1,
        flag_on_items_removing = 1u << 2,
        flag_on_items_removed = 1u << 3,
        flag_on_items_selection_change = 1u << 4,
        flag_on_item_focus_change = 1u << 5,
        flag_on_items_modified = 1u << 6,
        flag_on_items_modified_fromplayback = 1u << 7,
        flag_on_items_replaced = 1u << 8,
        flag_on_item_ensure_visible = 1u << 9,
        flag_on_playlist_activate = 1u << 10,
        flag_on_playlist_created = 1u << 11,
        flag_on_playlists_reorder = 1u << 12,
        flag_on_playlists_removing = 1u << 13,
        flag_on_playlists_removed = 1u << 14,
        flag_on_playlist_renamed = 1u << 15,
        flag_on_default_format_changed = 1u << 16,
        flag_on_playback_order_changed = 1u << 17,
        flag_on_playlist_locked = 1u << 18,

        flag_all = 0xFFFFFFFFu,
    };

    struct t_on_items_replaced_entry {
        size_t index;
        service_ptr_t<metadb_handle> old_item;
        service_ptr_t<metadb_handle> new_item;
    };

    // `data` now sits at [start, start + data.size()); `selection` is over `data`.
    virtual void on_items_added(size_t playlist, size_t start, const metadb_handle_list& data,
                                const bit_array& selection) = 0;
    // order[new position] = old position.
    virtual void on_items_reordered(size_t playlist, const size_t* order, size_t count) = 0;
    // Masks are over the items before removal.
    virtual void on_items_removing(size_t playlist, const bit_array& mask, size_t old_count,
                                   size_t new_count) = 0;
    virtual void on_items_removed(size_t playlist, const bit_array& mask, size_t old_count,
                                  size_t new_count) = 0;
    // `affected` marks the items looked at, `state` their new selection.
    virtual void on_items_selection_change(size_t playlist, const bit_array& affected,
                                           const bit_array& state) = 0;
    // SIZE_MAX for none.
    virtual void on_item_focus_change(size_t playlist, size_t from, size_t to) = 0;
    // Their info changed (tags, statistics).
    virtual void on_items_modified(size_t playlist, const bit_array& mask) = 0;
    virtual void on_items_modified_fromplayback(size_t playlist, const bit_array& mask,
                                                playback_control::t_display_level level) = 0;
    virtual void on_items_replaced(size_t playlist, const bit_array& mask,
                                   const std::vector<t_on_items_replaced_entry>& data) = 0;
    // Someone asked views to scroll the item into sight.
    virtual void on_item_ensure_visible(size_t playlist, size_t item) = 0;
    // SIZE_MAX for none.
    virtual void on_playlist_activate(size_t old_playlist, size_t new_playlist) = 0;
    virtual void on_playlist_created(size_t playlist, const char* name, size_t name_len) = 0;
    // order[new position] = old position.
    virtual void on_playlists_reorder(const size_t* order, size_t count) = 0;
    // Before the playlists go: they can still be read.
    virtual void on_playlists_removing(const bit_array& mask, size_t old_count, size_t new_count) = 0;
    virtual void on_playlists_removed(const bit_array& mask, size_t old_count, size_t new_count) = 0;
    virtual void on_playlist_renamed(size_t playlist, const char* name, size_t name_len) = 0;
    virtual void on_default_format_changed() = 0;
    virtual void on_playback_order_changed(size_t new_index) = 0;
    // A lock was installed (true) or removed (false).
    virtual void on_playlist_locked(size_t playlist, bool locked) = 0;

protected:
    ~playlist_callback() = default;
};

// Registers itself for `flags` on construction and unregisters on destruction.
// Override only the events asked for. Construct and destroy on the main thread.
class playlist_callback_impl_base : public playlist_callback {
public:
    explicit playlist_callback_impl_base(uint32_t flags = flag_all) { set_callback_flags(flags); }
    virtual ~playlist_callback_impl_base() { set_callback_flags(0); }
    playlist_callback_impl_base(const playlist_callback_impl_base&) = delete;
    playlist_callback_impl_base& operator=(const playlist_callback_impl_base&) = delete;

    // 0 unregisters.
    void set_callback_flags(uint32_t flags) {
        if (flags == m_flags) return;
        auto api = qvn::std_api_get<playlist_manager>();
        if (flags == 0)
            api->unregister_callback(this);
        else if (m_flags == 0)
            api->register_callback(this, flags);
        else
            api->modify_callback(this, flags);
        m_flags = flags;
    }
    uint32_t get_callback_flags() const { return m_flags; }

    void on_items_added(size_t, size_t, const metadb_handle_list&, const bit_array&) override {}
    void on_items_reordered(size_t, const size_t*, size_t) override {}
    void on_items_removing(size_t, const bit_array&, size_t, size_t) override {}
    void on_items_removed(size_t, const bit_array&, size_t, size_t) override {}
    void on_items_selection_change(size_t, const bit_array&, const bit_array&) override {}
    void on_item_focus_change(size_t, size_t, size_t) override {}
    void on_items_modified(size_t, const bit_array&) override {}
    void on_items_modified_fromplayback(size_t, const bit_array&,
                                        playback_control::t_display_level) override {}
    void on_items_replaced(size_t, const bit_array&, const std::vector<t_on_items_replaced_entry>&) override {
    }
    void on_item_ensure_visible(size_t, size_t) override {}
    void on_playlist_activate(size_t, size_t) override {}
    void on_playlist_created(size_t, const char*, size_t) override {}
    void on_playlists_reorder(const size_t*, size_t) override {}
    void on_playlists_removing(const bit_array&, size_t, size_t) override {}
    void on_playlists_removed(const bit_array&, size_t, size_t) override {}
    void on_playlist_renamed(size_t, const char*, size_t) override {}
    void on_default_format_changed() override {}
    void on_playback_order_changed(size_t) override {}
    void on_playlist_locked(size_t, bool) override {}

private:
    uint32_t m_flags = 0;
};
