#pragma once

// A tiny host inside the test executable: its own service list and lookup (in
// place of the binding layer) and fakes of the host services the SDK helpers
// call. Each fake keeps just enough state to check what the helpers did.

#include "input.h"
#include "main_thread_callback.h"
#include "play_callback.h"
#include "playlist_callback.h"
#include "playlist_manager.h"
#include "titleformat.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class FakeTrack : public metadb_handle {
public:
    explicit FakeTrack(std::string path) : m_path(std::move(path)) {}
    const char* get_path() const override { return m_path.c_str(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return 1.0; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base& out,
                      const service_ptr_t<titleformat_object>& script,
                      titleformat_text_filter*) const override;

private:
    std::string m_path;
};

service_ptr_t<metadb_handle> makeTrack(const std::string& path);

class FakePlaylistManager : public playlist_manager_v2 {
public:
    struct Playlist {
        std::string name;
        metadb_handle_list items;
        std::vector<bool> selected;
        bool refuseRemoval = false;
    };

    // Playlists named "P0".."Pn-1", each holding `items` tracks.
    void reset(size_t playlists, size_t items);

    std::vector<Playlist> playlists;
    size_t active = SIZE_MAX;
    std::map<playlist_callback*, uint32_t> callbacks;
    int registerCalls = 0;
    int modifyCalls = 0;

    size_t get_playlist_count() override { return playlists.size(); }
    size_t get_active_playlist() override { return active; }
    void set_active_playlist(size_t playlist) override {
        active = playlist < playlists.size() ? playlist : SIZE_MAX;
    }
    size_t create_playlist(const char* name, size_t name_len, size_t position) override;
    bool reorder_playlists(const size_t*, size_t) override { return false; }
    bool remove_playlists(const bit_array& mask) override;
    bool playlist_get_name(size_t playlist, cvk::string_base& out) override;
    bool playlist_rename(size_t, const char*, size_t) override { return false; }

    size_t playlist_get_item_count(size_t playlist) override;
    void playlist_get_items(size_t playlist, metadb_handle_list& out, const bit_array& mask) override;
    service_ptr_t<metadb_handle> playlist_get_item_handle(size_t, size_t) override { return {}; }
    size_t playlist_insert_items(size_t playlist, size_t base, const metadb_handle_list& data,
                                 const bit_array& selection) override;
    bool playlist_reorder_items(size_t, const size_t*, size_t) override { return false; }
    bool playlist_remove_items(size_t playlist, const bit_array& mask) override;
    bool playlist_replace_item(size_t, size_t, const service_ptr_t<metadb_handle>&) override { return false; }

    bit_array_bittable playlist_get_selection_mask(size_t playlist) override;
    bool playlist_is_item_selected(size_t playlist, size_t item) override;
    void playlist_set_selection(size_t playlist, const bit_array& affected, const bit_array& state) override;
    size_t playlist_get_focus_item(size_t) override { return SIZE_MAX; }
    void playlist_set_focus_item(size_t, size_t) override {}
    void playlist_ensure_visible(size_t, size_t) override {}
    bool playlist_execute_default_action(size_t, size_t) override { return false; }
    bool get_playing_item_location(size_t&, size_t&) override { return false; }

    void playlist_undo_backup(size_t) override {}
    bool playlist_undo_restore(size_t) override { return false; }
    bool playlist_redo_restore(size_t) override { return false; }
    bool playlist_is_undo_available(size_t) override { return false; }
    bool playlist_is_redo_available(size_t) override { return false; }

    void queue_add_item_playlist(size_t, size_t) override {}
    void queue_add_item(const service_ptr_t<metadb_handle>&) override {}
    void queue_remove_mask(const bit_array&) override {}
    void queue_flush() override {}
    size_t queue_get_count() override { return 0; }
    void queue_get_contents(std::vector<t_playback_queue_item>& out) override { out.clear(); }

    size_t playback_order_get_count() override { return 0; }
    const char* playback_order_get_name(size_t) override { return nullptr; }
    size_t playback_order_get_active() override { return 0; }
    void playback_order_set_active(size_t) override {}

    bool playlist_lock_install(size_t, const service_ptr_t<playlist_lock>&) override { return false; }
    bool playlist_lock_uninstall(size_t, const service_ptr_t<playlist_lock>&) override { return false; }
    bool playlist_lock_is_present(size_t) override { return false; }
    bool playlist_lock_query_name(size_t, cvk::string_base&) override { return false; }
    bool playlist_lock_show_ui(size_t) override { return false; }
    uint32_t playlist_lock_get_filter_mask(size_t) override { return 0; }

    void register_callback(playlist_callback* callback, uint32_t flags) override;
    void modify_callback(playlist_callback* callback, uint32_t flags) override;
    void unregister_callback(playlist_callback* callback) override { callbacks.erase(callback); }

    bool playlist_set_property(size_t, const GUID&, const void*, size_t) override { return false; }
    bool playlist_get_property(size_t, const GUID&, std::vector<uint8_t>& out) override {
        out.clear();
        return false;
    }
    bool playlist_have_property(size_t, const GUID&) override { return false; }
    bool playlist_remove_property(size_t, const GUID&) override { return false; }
};

class FakePlayCallbackManager : public play_callback_manager {
public:
    std::map<play_callback*, uint32_t> callbacks;
    void register_callback(play_callback* callback, uint32_t flags) override { callbacks[callback] = flags; }
    void unregister_callback(play_callback* callback) override { callbacks.erase(callback); }
};

// Queues from any thread; the test runs the queue as the main loop would.
class FakeMainThread : public main_thread_callback_manager {
public:
    void add_callback(service_ptr_t<main_thread_callback> callback) override;
    size_t pending();
    void runAll();

private:
    std::mutex m_lock;
    std::vector<service_ptr_t<main_thread_callback>> m_queue;
};

// Refuses every pattern containing "BAD"; a compiled script prints its pattern.
class FakeCompiler : public titleformat_compiler {
public:
    bool compile(service_ptr_t<titleformat_object>& out, const char* pattern) override;
};

// Opens a decoder of `chunks` one-frame chunks; `refuse` makes open return null.
class FakeInputManager : public input_manager {
public:
    size_t chunks = 3;
    bool refuse = false;
    int opens = 0;
    service_ptr_t<input_decoder> open(service_ptr_t<file>, const service_ptr_t<metadb_handle>&, uint32_t,
                                      abort_callback&, bool, bool) override;
};

FakePlaylistManager& fakePlaylists();
FakePlayCallbackManager& fakePlayCallbacks();
FakeMainThread& fakeMainThread();
FakeInputManager& fakeInput();
