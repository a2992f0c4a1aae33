#pragma once

// What the Classic toolbar, status bar, tab strip and library search meet in
// the player, for component tests: the host's real playlists and title
// formatting, and a player whose playback, volume, library and file
// resolution the test sets, counting what the chrome asks of it. Beeps are
// counted instead of heard. The Classic settings start at their defaults.

#include "ClassicHost.h"
#include "FakePlayer.h"
#include "library_manager.h"
#include "playlist_incoming_item_filter.h"
#include "PlaylistManager.h"
#include "TitleformatService.h"

#include <map>
#include <string>
#include <vector>

class ChromePlayback : public playback_control {
public:
    void start(t_track_command command, bool paused) override;
    void stop() override { playing.release(), paused = false, ++stops; }
    void pause(bool state) override {
        if (playing.is_valid()) paused = state;
    }
    bool is_playing() override { return playing.is_valid(); }
    bool is_paused() override { return paused; }
    bool get_now_playing(service_ptr_t<metadb_handle>& out) override;
    double playback_get_position() override { return 0; }
    double playback_get_length() override { return playing.is_valid() ? playing->get_length() : 0; }
    bool playback_can_seek() override { return false; }
    void playback_seek(double) override {}
    void playback_seek_delta(double) override {}
    float get_volume() override { return muted ? volume_mute : volume; }
    void set_volume(float db) override { volume = std::max(db, volume_mute), muted = false; }
    void volume_up() override {}
    void volume_down() override {}
    void volume_mute_toggle() override { muted = !muted; }
    bool get_stop_after_current() override { return false; }
    void set_stop_after_current(bool) override {}
    // The playing track's own fields; the level is recorded.
    bool playback_format_title(titleformat_hook* hook, cvk::string_base& out,
                               const service_ptr_t<titleformat_object>& script,
                               titleformat_text_filter* filter, t_display_level level) override;

    service_ptr_t<metadb_handle> playing;
    bool paused = false;
    float volume = 0;
    bool muted = false;
    std::vector<t_track_command> starts;
    int stops = 0;
    int formats = 0;
    t_display_level lastLevel = display_level_none;
};

class CountingCompiler : public titleformat_compiler {
public:
    bool compile(service_ptr_t<titleformat_object>& out, const char* pattern) override;
    std::vector<std::string> compiled;

private:
    service_ptr_t<titleformat_compiler> m_engine = service_new<library::TitleformatCompiler>();
};

class FakeLibrary : public library_manager {
public:
    bool is_library_enabled() override { return enabled; }
    void get_all_items(metadb_handle_list& out) override { out = tracks; }
    bool is_item_in_library(const service_ptr_t<metadb_handle>&) override { return false; }

    bool enabled = true;
    metadb_handle_list tracks;
};

// Resolves locations at the next turn of the main loop, into the tracks the
// test gave for them (others are left out).
class FakeIncoming : public playlist_incoming_item_filter_v2 {
public:
    void process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags, const char*,
                                 const char*, QWidget*,
                                 service_ptr_t<process_locations_notify> notify) override;

    std::map<std::string, service_ptr_t<metadb_handle>> files;
    std::vector<std::vector<std::string>> requests;
    uint32_t lastFlags = 0;
};

// The host's playlists, which a test can make refuse new playlists.
class ChromePlaylists : public playlists::PlaylistManager {
public:
    size_t create_playlist(const char* name, size_t name_len, size_t position) override {
        return refuseCreate ? SIZE_MAX : PlaylistManager::create_playlist(name, name_len, position);
    }
    bool refuseCreate = false;
};

class ChromeHost {
public:
    ChromeHost();
    ~ChromeHost();

    // A new playlist holding `tracks`; its index.
    size_t playlist(const char* name, const metadb_handle_list& tracks = {});
    std::vector<std::string> playlistNames();
    std::vector<std::string> itemPaths(size_t playlist);

    BoundFakeHost bound;
    service_ptr_t<FakeConfigStore> config = service_new<FakeConfigStore>();
    service_ptr_t<QtMainThread> mainThread = service_new<QtMainThread>();
    service_ptr_t<ChromePlaylists> playlists = service_new<ChromePlaylists>();
    service_ptr_t<ChromePlayback> playback = service_new<ChromePlayback>();
    service_ptr_t<CountingCompiler> compiler = service_new<CountingCompiler>();
    service_ptr_t<FakeLibrary> library = service_new<FakeLibrary>();
    service_ptr_t<FakeIncoming> incoming = service_new<FakeIncoming>();
    int beeps = 0;
};
