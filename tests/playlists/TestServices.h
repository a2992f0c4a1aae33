#pragma once

// What the playlist tests share: tracks, an event log, a lock whose answers a
// test sets, and the playback queue callback found through the service list.

#include "playback_queue_callback.h"
#include "playlist_callback.h"
#include "playlist_lock.h"
#include "PlaylistManager.h"

#include <functional>
#include <string>
#include <vector>

class TestTrack : public metadb_handle {
public:
    TestTrack(std::string path, uint32_t subsong) : m_path(std::move(path)), m_subsong(subsong) {}
    const char* get_path() const override { return m_path.c_str(); }
    uint32_t get_subsong_index() const override { return m_subsong; }
    double get_length() const override { return 1.0; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base& out, const service_ptr_t<titleformat_object>&,
                      titleformat_text_filter*) const override {
        out.reset();
        return false;
    }

private:
    std::string m_path;
    uint32_t m_subsong;
};

// "file:///music/NAME", as the host names local files.
service_ptr_t<metadb_handle> track(const std::string& name, uint32_t subsong = 0);
metadb_handle_list tracks(std::initializer_list<const char*> names);
// PREFIX0 .. PREFIXn-1.
metadb_handle_list numbered(size_t count, const std::string& prefix = "t");
std::vector<std::string> names(playlists::PlaylistManager& m, size_t playlist);
std::string nameOf(const service_ptr_t<metadb_handle>& track);
std::string list(const metadb_handle_list& data);
std::string bits(const bit_array& mask, size_t count);
std::string num(size_t n);  // "none" for SIZE_MAX

// A manager with fixed random draws; the queue log starts empty.
service_ptr_t<playlists::PlaylistManager> newManager();

// Every event as one line, e.g. "added 0 2 [c,d] sel=10".
class EventLog : public playlist_callback {
public:
    std::vector<std::string> events;
    std::function<void(const std::string&)> onEvent;

    void on_items_added(size_t p, size_t start, const metadb_handle_list& data,
                        const bit_array& sel) override {
        log("added " + num(p) + " " + num(start) + " " + list(data) + " sel=" + bits(sel, data.size()));
    }
    void on_items_reordered(size_t p, const size_t* order, size_t count) override;
    void on_items_removing(size_t p, const bit_array& mask, size_t from, size_t to) override {
        log("removing " + num(p) + " " + bits(mask, from) + " " + num(from) + "->" + num(to));
    }
    void on_items_removed(size_t p, const bit_array& mask, size_t from, size_t to) override {
        log("removed " + num(p) + " " + bits(mask, from) + " " + num(from) + "->" + num(to));
    }
    void on_items_selection_change(size_t p, const bit_array& affected, const bit_array& state) override;
    void on_item_focus_change(size_t p, size_t from, size_t to) override {
        log("focus " + num(p) + " " + num(from) + "->" + num(to));
    }
    void on_items_modified(size_t p, const bit_array& mask) override {
        log("modified " + num(p) + " " + bits(mask, 4));
    }
    void on_items_modified_fromplayback(size_t p, const bit_array& mask,
                                        playback_control::t_display_level) override {
        log("modified_fromplayback " + num(p) + " " + bits(mask, 4));
    }
    void on_items_replaced(size_t p, const bit_array& mask,
                           const std::vector<t_on_items_replaced_entry>& data) override {
        log("replaced " + num(p) + " " + bits(mask, 4) + " " + num(data.at(0).index) + ":" +
            nameOf(data[0].old_item) + "->" + nameOf(data[0].new_item));
    }
    void on_item_ensure_visible(size_t p, size_t item) override {
        log("ensure_visible " + num(p) + " " + num(item));
    }
    void on_playlist_activate(size_t from, size_t to) override {
        log("activate " + num(from) + "->" + num(to));
    }
    void on_playlist_created(size_t p, const char* name, size_t len) override {
        log("created " + num(p) + " " + std::string(name, len));
    }
    void on_playlists_reorder(const size_t* order, size_t count) override;
    void on_playlists_removing(const bit_array& mask, size_t from, size_t to) override {
        log("playlists_removing " + bits(mask, from) + " " + num(from) + "->" + num(to));
    }
    void on_playlists_removed(const bit_array& mask, size_t from, size_t to) override {
        log("playlists_removed " + bits(mask, from) + " " + num(from) + "->" + num(to));
    }
    void on_playlist_renamed(size_t p, const char* name, size_t len) override {
        log("renamed " + num(p) + " " + std::string(name, len));
    }
    void on_default_format_changed() override { log("default_format"); }
    void on_playback_order_changed(size_t index) override { log("order " + num(index)); }
    void on_playlist_locked(size_t p, bool locked) override {
        log("locked " + num(p) + (locked ? " true" : " false"));
    }

private:
    void log(const std::string& line) {
        events.push_back(line);
        if (onEvent) onEvent(line);
    }
};

// Refuses what `refuse` names; records every question it is asked.
class TestLock : public playlist_lock {
public:
    uint32_t mask = 0;
    uint32_t refuse = ~0u;
    bool takeDefaultAction = false;
    std::vector<std::string> asked;
    std::vector<size_t> indexChanges;
    int removedCalls = 0;

    bool query_items_add(size_t start, const metadb_handle_list& data, const bit_array& sel) override {
        return answer(filter_add, "add " + num(start) + " " + list(data) + " sel=" + bits(sel, data.size()));
    }
    bool query_items_reorder(const size_t* order, size_t count) override;
    bool query_items_remove(const bit_array& mask, bool) override {
        return answer(filter_remove, "remove " + bits(mask, 4));
    }
    bool query_item_replace(size_t index, const service_ptr_t<metadb_handle>& from,
                            const service_ptr_t<metadb_handle>& to) override {
        return answer(filter_replace, "replace " + num(index) + " " + nameOf(from) + "->" + nameOf(to));
    }
    bool query_playlist_rename(const char* name, size_t len) override {
        return answer(filter_rename, "rename " + std::string(name, len));
    }
    bool query_playlist_remove() override { return answer(filter_remove_playlist, "remove_playlist"); }
    bool execute_default_action(size_t index) override {
        asked.push_back("default_action " + num(index));
        return takeDefaultAction;
    }
    void on_playlist_index_change(size_t index) override { indexChanges.push_back(index); }
    void on_playlist_remove() override { ++removedCalls; }
    void get_lock_name(cvk::string_base& out) override { out = "Test lock"; }
    void show_ui() override {}
    uint32_t get_filter_mask() override { return mask; }

private:
    bool answer(uint32_t filter, std::string question) {
        asked.push_back(std::move(question));
        return !(refuse & filter);
    }
};

// Every playback queue change the manager announced, in order.
std::vector<playback_queue_callback::t_change_origin>& queueChanges();
