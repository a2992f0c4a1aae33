#pragma once

// What the Classic components meet in the player, for component tests: the
// seekbar tests' scripted player (settings store, playback, callbacks) with
// the host's real playlist manager and title formatting, and tracks whose tags
// live in memory. The Classic settings start at their defaults.

#include "contextmenu.h"
#include "FakePlayer.h"
#include "playlist_incoming_item_filter.h"
#include "playlist_lock.h"
#include "PlaylistManager.h"
#include "TitleformatService.h"
#include "TrackFields.h"

#include <QStringList>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

class TaggedTrack : public metadb_handle {
public:
    // A path without a scheme is a local file.
    explicit TaggedTrack(titleformat::TrackInfo info)
        : m_info(std::move(info)),
          m_location(m_info.path.find("://") == std::string::npos ? "file://" + m_info.path : m_info.path) {}
    const char* get_path() const override { return m_location.c_str(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return m_info.length; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook* hook, cvk::string_base& out,
                      const service_ptr_t<titleformat_object>& script,
                      titleformat_text_filter* filter) const override;

private:
    titleformat::TrackInfo m_info;
    std::string m_location;
};

// A track at `path` with the given tags ("artist", "album", ...).
service_ptr_t<metadb_handle> tagged(const std::string& path,
                                    std::initializer_list<std::pair<const char*, const char*>> tags = {},
                                    double length = 60);

// Resolves dropped and pasted files at the next turn of the event loop, as the
// host's filter does off the main thread: ".flac" files become tracks, other
// paths are left out.
class FlacFilter : public playlist_incoming_item_filter_v2 {
public:
    void process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags, const char*,
                                 const char*, QWidget*,
                                 service_ptr_t<process_locations_notify> notify) override;

    std::vector<std::string> asked;  // the locations of the last request
    uint32_t flags = 0;
};

// The host's context menu for the playlist selection, with queue commands of
// its own: Play, Add to Playback Queue, separator, &Copy Path, two separators,
// Rating > (1 Star checked, separator, Clear disabled), separator.
class ScriptedMenu : public contextmenu_manager {
public:
    ScriptedMenu();
    ~ScriptedMenu();
    void init_context(const metadb_handle_list&, uint32_t f) override { flags = f; }
    void init_context_playlist(uint32_t f) override { flags = f; }
    contextmenu_node* get_root() override;

    QStringList executed;
    uint32_t flags = 0;

private:
    class Node;
    std::unique_ptr<Node> m_root;
};

// Refuses every change its mask covers.
class RefusingLock : public playlist_lock {
public:
    explicit RefusingLock(uint32_t mask) : m_mask(mask) {}
    bool query_items_add(size_t, const metadb_handle_list&, const bit_array&) override { return false; }
    bool query_items_reorder(const size_t*, size_t) override { return false; }
    bool query_items_remove(const bit_array&, bool) override { return false; }
    bool query_item_replace(size_t, const service_ptr_t<metadb_handle>&,
                            const service_ptr_t<metadb_handle>&) override {
        return false;
    }
    bool query_playlist_rename(const char*, size_t) override { return false; }
    bool query_playlist_remove() override { return false; }
    bool execute_default_action(size_t) override { return false; }
    void on_playlist_index_change(size_t) override {}
    void on_playlist_remove() override {}
    void get_lock_name(cvk::string_base& out) override { out.set_string("test"); }
    void show_ui() override {}
    uint32_t get_filter_mask() override { return m_mask; }

private:
    uint32_t m_mask;
};

class ClassicHost {
public:
    ClassicHost();

    // A new playlist holding `tracks`, made active; its index.
    size_t showPlaylist(const char* name, const metadb_handle_list& tracks);
    // The paths of a playlist's items, and its selected items.
    std::vector<std::string> paths(size_t playlist) const;
    std::vector<size_t> selection(size_t playlist) const;

    FakePlayer player;
    service_ptr_t<playlists::PlaylistManager> playlists;
    service_ptr_t<FlacFilter> incoming;
    service_ptr_t<ScriptedMenu> menu;
    std::vector<std::pair<size_t, size_t>> played;  // default actions asked for
};

void resetClassicSettings();
