#pragma once

// The player with the host's real playlist manager and title formatting, for
// component tests of playlist views: file resolution and default actions are
// recorded, and helpers make and read playlists.

#include "FakePlayer.h"
#include "playlist_incoming_item_filter.h"
#include "PlaylistManager.h"
#include "TitleformatService.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Keeps each request. With `resolve` set, answers it at the next turn of the
// main loop, as the host's filter does off the main thread, with the tracks
// resolve gives (null: left out); otherwise the test answers.
class FakeIncoming : public playlist_incoming_item_filter_v2 {
public:
    struct Request {
        std::vector<std::string> locations;
        uint32_t flags = 0;
        service_ptr_t<process_locations_notify> notify;
    };
    void process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags, const char*,
                                 const char*, QWidget*,
                                 service_ptr_t<process_locations_notify> notify) override;

    std::vector<Request> requests;
    std::function<service_ptr_t<metadb_handle>(const std::string& location)> resolve;
};

// The host's compiler, recording every pattern.
class CountingCompiler : public titleformat_compiler {
public:
    bool compile(service_ptr_t<titleformat_object>& out, const char* pattern) override;
    std::vector<std::string> compiled;

private:
    service_ptr_t<titleformat_compiler> m_engine = service_new<library::TitleformatCompiler>();
};

// The host's playlists, which a test can make refuse new playlists.
class HostPlaylists : public playlists::PlaylistManager {
public:
    size_t create_playlist(const char* name, size_t name_len, size_t position) override {
        return refuseCreate ? SIZE_MAX : PlaylistManager::create_playlist(name, name_len, position);
    }
    bool refuseCreate = false;
};

class PlaylistHost : public FakePlayer {
public:
    PlaylistHost();

    // A new playlist holding `tracks`; its index. Shown: also made active.
    size_t addPlaylist(const char* name, const metadb_handle_list& tracks = {});
    size_t showPlaylist(const char* name, const metadb_handle_list& tracks);
    // Plays item `item` of `playlist`, as the host's engine reports it.
    void playItem(size_t playlist, size_t item);

    std::vector<std::string> playlistNames() const;
    // The paths of a playlist's items, and its selected items.
    std::vector<std::string> paths(size_t playlist) const;
    std::vector<size_t> selection(size_t playlist) const;

    service_ptr_t<HostPlaylists> playlists = service_new<HostPlaylists>();
    service_ptr_t<CountingCompiler> compiler = service_new<CountingCompiler>();
    service_ptr_t<FakeIncoming> incoming = service_new<FakeIncoming>();
    // Default actions the playlist manager was asked for: (playlist, item).
    std::vector<std::pair<size_t, size_t>> played;
};
