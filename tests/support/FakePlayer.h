#pragma once

// The player's own services as components meet them, for component tests:
// playback with its callbacks, the console, a config store and main-thread
// dispatch, each recording what it was asked; and waiting on the main loop.

#include "config_store.h"
#include "console.h"
#include "FakeHost.h"
#include "main_thread_callback.h"
#include "play_callback.h"
#include "playback_control.h"

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class FakeConsole : public qvn::console {
public:
    void print(const char* line) override;
    std::vector<std::string> lines();

private:
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

class FakeConfigStore : public qvn::configStore {
public:
    int64_t getConfigInt(const char* name, int64_t def) override;
    void setConfigInt(const char* name, int64_t value) override;
    qvn::stringRef getConfigString(const char* name, qvn::stringRef def) override;
    void setConfigString(const char* name, const char* value) override;
    void deleteConfig(const char* name) override;

    std::map<std::string, std::string> values;
};

// Runs posted functions on the Qt event loop.
class QtMainThread : public main_thread_callback_manager {
public:
    void add_callback(service_ptr_t<main_thread_callback> callback) override;
};

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
    bool is_paused() override { return paused; }
    bool get_now_playing(service_ptr_t<metadb_handle>& out) override;
    double playback_get_position() override { return playing.is_valid() ? position : 0; }
    double playback_get_length() override { return playing.is_valid() ? playing->get_length() : 0; }
    bool playback_can_seek() override { return canSeek; }
    void playback_seek(double seconds) override;
    void playback_seek_delta(double delta) override { position += delta; }
    float get_volume() override { return muted ? volume_mute : volume; }
    void set_volume(float db) override;
    void volume_up() override {}
    void volume_down() override {}
    void volume_mute_toggle() override { muted = !muted; }
    bool get_stop_after_current() override { return false; }
    void set_stop_after_current(bool) override {}
    // The playing track's own fields; the level is recorded.
    bool playback_format_title(titleformat_hook* hook, cvk::string_base& out,
                               const service_ptr_t<titleformat_object>& script,
                               titleformat_text_filter* filter, t_display_level level) override;

    // Plays `track` as the player announces it: the new-track event.
    void play(service_ptr_t<metadb_handle> track);
    void stopWith(t_stop_reason reason);

    service_ptr_t<metadb_handle> playing;
    bool paused = false;
    double position = 0;
    bool canSeek = true;
    float volume = 0;
    bool muted = false;
    std::vector<t_track_command> commands;  // of every start
    int stops = 0;
    std::vector<double> seeks;
    int formats = 0;
    t_display_level lastLevel = display_level_none;
    service_ptr_t<FakePlayCallbacks> events = service_new<FakePlayCallbacks>();
};

// FakeHost bound, with every service above registered.
class FakePlayer {
public:
    FakePlayer();

    BoundFakeHost bound;
    service_ptr_t<FakeConsole> console = service_new<FakeConsole>();
    service_ptr_t<FakeConfigStore> config = service_new<FakeConfigStore>();
    service_ptr_t<QtMainThread> mainThread = service_new<QtMainThread>();
    service_ptr_t<FakePlayback> playback = service_new<FakePlayback>();
};

// Runs the main loop until `done` or the limit, which is generous: it only
// matters when something is wrong. False on time out.
bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(30));
void spinFor(std::chrono::milliseconds duration);
