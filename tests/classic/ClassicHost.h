#pragma once

// What the Classic components meet in the player, for component tests: the
// shared test player with the host's real playlists and title formatting,
// tracks whose tags live in memory, ".flac" files resolved into tracks and a
// scripted context menu. The Classic settings start at their defaults.

#include "contextmenu.h"
#include "MemoryTrack.h"
#include "playlist_lock.h"
#include "PlaylistHost.h"

#include <QStringList>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

// A track at `path` with the given tags ("artist", "album", ...).
service_ptr_t<metadb_handle> tagged(const std::string& path,
                                    std::initializer_list<std::pair<const char*, const char*>> tags = {},
                                    double length = 60);

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

// Refuses every change its mask covers; the lock of the component `name`.
class RefusingLock : public playlist_lock {
public:
    explicit RefusingLock(uint32_t mask, std::string name = "test") : m_mask(mask), m_name(std::move(name)) {}
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
    void get_lock_name(cvk::string_base& out) override { out.set_string(m_name.c_str()); }
    void show_ui() override {}
    uint32_t get_filter_mask() override { return m_mask; }

private:
    uint32_t m_mask;
    std::string m_name;
};

class ClassicHost : public PlaylistHost {
public:
    ClassicHost();

    service_ptr_t<ScriptedMenu> menu = service_new<ScriptedMenu>();
};

void resetClassicSettings();
