#pragma once

// The host as the Ovix elements see it: the host's real playlist manager and
// title formatting, tracks in memory, and a scripted player, album art, file
// resolution and menu, each recording what it was asked.

#include "album_art.h"
#include "FakeHost.h"
#include "mainmenu.h"
#include "MemoryTrack.h"
#include "play_callback.h"
#include "playback_control.h"
#include "playlist_incoming_item_filter.h"
#include "PlaylistManager.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class FakePlayCallbacks : public play_callback_manager {
public:
    void register_callback(play_callback* cb, uint32_t flags) override { callbacks[cb] = flags; }
    void unregister_callback(play_callback* cb) override { callbacks.erase(cb); }

    std::map<play_callback*, uint32_t> callbacks;
};

class FakePlayback : public playback_control {
public:
    void start(t_track_command command, bool paused) override;
    void stop() override;
    void pause(bool state) override;
    bool is_playing() override { return playing.is_valid(); }
    bool is_paused() override { return playing.is_valid() && paused; }
    bool get_now_playing(service_ptr_t<metadb_handle>& out) override;
    double playback_get_position() override { return playing.is_valid() ? position : 0; }
    double playback_get_length() override { return playing.is_valid() ? playing->get_length() : 0; }
    bool playback_can_seek() override { return true; }
    void playback_seek(double seconds) override { position = seconds; }
    void playback_seek_delta(double delta) override { position += delta; }
    float get_volume() override { return muted ? volume_mute : volume; }
    void set_volume(float db) override;
    void volume_up() override {}
    void volume_down() override {}
    void volume_mute_toggle() override { muted = !muted; }
    bool get_stop_after_current() override { return false; }
    void set_stop_after_current(bool) override {}
    bool playback_format_title(titleformat_hook* hook, cvk::string_base& out,
                               const service_ptr_t<titleformat_object>& script,
                               titleformat_text_filter* filter, t_display_level level) override;

    // Plays `track` as the player announces it: the new-track event.
    void play(service_ptr_t<metadb_handle> track);
    void stopWith(t_stop_reason reason);

    service_ptr_t<metadb_handle> playing;
    bool paused = false;
    double position = 0;
    float volume = 0;
    bool muted = false;
    std::vector<int> commands;  // t_track_command of every start
    int stops = 0;
    service_ptr_t<FakePlayCallbacks> events = service_new<FakePlayCallbacks>();
};

// Front covers by track path; a path without one has no art. Reads can be
// slowed to catch fetches in flight.
class FakeAlbumArt : public album_art_manager_v2 {
public:
    service_ptr_t<album_art_extractor_instance_v2> open(const metadb_handle_list& items,
                                                        const std::vector<GUID>& ids,
                                                        abort_callback& abort) override;

    void set(const std::string& location, QByteArray bytes);
    std::atomic<int> delayMs{0};
    std::atomic<int> queries{0};
    std::atomic<int> finished{0};  // queries that returned or threw

    QByteArray bytesFor(const std::string& location);

private:
    std::mutex _mutex;
    std::map<std::string, QByteArray> _covers;
};

// Keeps each request until the test answers it.
class FakeIncomingItems : public playlist_incoming_item_filter_v2 {
public:
    struct Request {
        std::vector<std::string> locations;
        uint32_t flags = 0;
        service_ptr_t<process_locations_notify> notify;
    };
    void process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags,
                                 const char* restrict_mask, const char* exclude_mask, QWidget* parent,
                                 service_ptr_t<process_locations_notify> notify) override {
        requests.push_back({locations, op_flags, notify});
    }
    std::vector<Request> requests;
};

class FakeMainMenu : public mainmenu_manager {
public:
    bool run_command(const GUID& command) override {
        ran.push_back(command);
        return true;
    }
    std::vector<GUID> ran;
};

class OvixTestHost {
public:
    OvixTestHost();

    // A new playlist of tracks, made active.
    size_t addPlaylist(const char* name, const metadb_handle_list& tracks);
    // Plays item `item` of `playlist`, as the host's engine reports it.
    void playItem(size_t playlist, size_t item);
    std::vector<size_t> selection(size_t playlist);

    BoundFakeHost bound;
    service_ptr_t<playlists::PlaylistManager> playlists = service_new<playlists::PlaylistManager>();
    service_ptr_t<FakePlayback> playback = service_new<FakePlayback>();
    service_ptr_t<FakeAlbumArt> art = service_new<FakeAlbumArt>();
    service_ptr_t<FakeIncomingItems> incoming = service_new<FakeIncomingItems>();
    service_ptr_t<FakeMainMenu> menu = service_new<FakeMainMenu>();
    // Default actions the playlist manager was asked for: (playlist, item).
    std::vector<std::pair<size_t, size_t>> played;
};

// An album track: artist, album artist, album, title.
service_ptr_t<MemoryTrack> albumTrack(const std::string& album, const std::string& title, double length = 180,
                                      const std::string& artist = "Artist");
// Runs the main loop until `done` or the limit; false on time out.
bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));
void spinFor(std::chrono::milliseconds duration);
