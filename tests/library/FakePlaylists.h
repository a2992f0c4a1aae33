#pragma once

// A playlist manager with one playlist, a selection and a playback queue: what
// the context menu and the "added" tracking talk to. Registered in the test
// program's service list, so qvn::std_api_get finds it.

#include "playlist_callback.h"
#include "playlist_manager.h"

#include <vector>

class FakePlaylists : public playlist_manager {
public:
    static FakePlaylists& instance();

    metadb_handle_list items;
    std::vector<bool> selected;
    std::vector<t_playback_queue_item> queue;
    std::vector<size_t> played;  // items whose default action ran
    std::vector<playlist_callback*> callbacks;

    void reset(metadb_handle_list tracks, std::vector<bool> selection);

    size_t get_playlist_count() override { return 1; }
    size_t get_active_playlist() override { return 0; }
    void set_active_playlist(size_t) override {}
    size_t create_playlist(const char*, size_t, size_t) override { return SIZE_MAX; }
    bool reorder_playlists(const size_t*, size_t) override { return false; }
    bool remove_playlists(const bit_array&) override { return false; }
    bool playlist_get_name(size_t, cvk::string_base& out) override;
    bool playlist_rename(size_t, const char*, size_t) override { return false; }

    size_t playlist_get_item_count(size_t playlist) override { return playlist == 0 ? items.size() : 0; }
    void playlist_get_items(size_t playlist, metadb_handle_list& out, const bit_array& mask) override;
    service_ptr_t<metadb_handle> playlist_get_item_handle(size_t playlist, size_t item) override;
    size_t playlist_insert_items(size_t, size_t, const metadb_handle_list&, const bit_array&) override;
    bool playlist_reorder_items(size_t, const size_t*, size_t) override { return false; }
    bool playlist_remove_items(size_t, const bit_array&) override { return false; }
    bool playlist_replace_item(size_t, size_t, const service_ptr_t<metadb_handle>&) override { return false; }

    bit_array_bittable playlist_get_selection_mask(size_t playlist) override;
    bool playlist_is_item_selected(size_t playlist, size_t item) override;
    void playlist_set_selection(size_t, const bit_array&, const bit_array&) override {}
    size_t playlist_get_focus_item(size_t) override { return SIZE_MAX; }
    void playlist_set_focus_item(size_t, size_t) override {}
    void playlist_ensure_visible(size_t, size_t) override {}
    bool playlist_execute_default_action(size_t playlist, size_t item) override;
    bool get_playing_item_location(size_t&, size_t&) override { return false; }

    void playlist_undo_backup(size_t) override {}
    bool playlist_undo_restore(size_t) override { return false; }
    bool playlist_redo_restore(size_t) override { return false; }
    bool playlist_is_undo_available(size_t) override { return false; }
    bool playlist_is_redo_available(size_t) override { return false; }

    void queue_add_item_playlist(size_t playlist, size_t item) override;
    void queue_add_item(const service_ptr_t<metadb_handle>& track) override;
    void queue_remove_mask(const bit_array& mask) override;
    void queue_flush() override { queue.clear(); }
    size_t queue_get_count() override { return queue.size(); }
    void queue_get_contents(std::vector<t_playback_queue_item>& out) override { out = queue; }

    size_t playback_order_get_count() override { return 1; }
    const char* playback_order_get_name(size_t) override { return "Default"; }
    size_t playback_order_get_active() override { return 0; }
    void playback_order_set_active(size_t) override {}

    bool playlist_lock_install(size_t, const service_ptr_t<playlist_lock>&) override { return false; }
    bool playlist_lock_uninstall(size_t, const service_ptr_t<playlist_lock>&) override { return false; }
    bool playlist_lock_is_present(size_t) override { return false; }
    bool playlist_lock_query_name(size_t, cvk::string_base&) override { return false; }
    bool playlist_lock_show_ui(size_t) override { return false; }
    uint32_t playlist_lock_get_filter_mask(size_t) override { return 0; }

    void register_callback(playlist_callback* callback, uint32_t) override { callbacks.push_back(callback); }
    void modify_callback(playlist_callback*, uint32_t) override {}
    void unregister_callback(playlist_callback* callback) override;
};
