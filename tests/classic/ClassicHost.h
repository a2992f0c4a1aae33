#pragma once

// What the Classic components meet in the player, for component tests: the
// seekbar tests' scripted player (settings store, playback, callbacks) with
// the host's real playlist manager and title formatting, and tracks whose tags
// live in memory. The Classic settings start at their defaults.

#include "FakePlayer.h"
#include "PlaylistManager.h"
#include "TitleformatService.h"
#include "TrackFields.h"

#include <initializer_list>
#include <string>
#include <utility>

class TaggedTrack : public metadb_handle {
public:
    explicit TaggedTrack(titleformat::TrackInfo info)
        : m_info(std::move(info)), m_location("file://" + m_info.path) {}
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

class ClassicHost {
public:
    ClassicHost();

    // A new playlist holding `tracks`, made active; its index.
    size_t showPlaylist(const char* name, const metadb_handle_list& tracks);

    FakePlayer player;
    service_ptr_t<playlists::PlaylistManager> playlists;
};

void resetClassicSettings();
