#pragma once

// Host services as the seekbar sees them: tracks, a scripted decoder, playback
// with its callbacks, the console, a config store and main-thread dispatch.

#include "FakeHost.h"
#include "config_store.h"
#include "console.h"
#include "input.h"
#include "main_thread_callback.h"
#include "play_callback.h"
#include "playback_control.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class FakeTrack : public metadb_handle {
public:
    FakeTrack(std::string path, double length) : m_path(std::move(path)), m_length(length) {}
    const char* get_path() const override { return m_path.c_str(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return m_length; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base&, const service_ptr_t<titleformat_object>&,
                      titleformat_text_filter*) const override {
        return false;
    }

private:
    std::string m_path;
    double m_length;
};

// Decodes `frames` frames of a constant 0.5 in blocks of 4096.
struct DecodeScript {
    unsigned rate = 8000;
    unsigned channels = 2;
    size_t frames = 8000;
    std::chrono::milliseconds blockDelay{0};
    int failAfter = -1;
    bool failOpen = false;
};

class FakeInputs : public input_manager {
public:
    service_ptr_t<input_decoder> open(service_ptr_t<file>, const service_ptr_t<metadb_handle>&, uint32_t flags,
                                      abort_callback& abort, bool, bool) override;
    // Set before a test starts scanning.
    DecodeScript script;
    // What a test may switch on while scans run: every open fails.
    std::atomic<bool> refuse{false};
    std::atomic<uint32_t> lastFlags{0};
    std::atomic<int> opened{0};
};

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

    void start(t_track_command, bool) override {}
    void stop() override {}
    void pause(bool) override {}
    bool is_playing() override { return playing.is_valid(); }
    bool is_paused() override { return paused; }
    bool get_now_playing(service_ptr_t<metadb_handle>& out) override;
    double playback_get_position() override { return position; }
    double playback_get_length() override { return playing ? playing->get_length() : 0; }
    bool playback_can_seek() override { return canSeek; }
    void playback_seek(double seconds) override { seeks.push_back(seconds); }
    void playback_seek_delta(double) override {}
    float get_volume() override { return 0; }
    void set_volume(float) override {}
    void volume_up() override {}
    void volume_down() override {}
    void volume_mute_toggle() override {}
    bool get_stop_after_current() override { return false; }
    void set_stop_after_current(bool) override {}
    bool playback_format_title(titleformat_hook*, cvk::string_base&, const service_ptr_t<titleformat_object>&,
                               titleformat_text_filter*, t_display_level) override {
        return false;
    }

    // Plays `track` as the player would announce it.
    void newTrack(service_ptr_t<metadb_handle> track);
    void stopWith(t_stop_reason reason);

    service_ptr_t<metadb_handle> playing;
    double position = 0;
    bool paused = false;
    bool canSeek = true;
    std::vector<double> seeks;
    service_ptr_t<FakePlayCallbacks> events = service_new<FakePlayCallbacks>();
};

// FakeHost bound, with every service above registered.
class FakePlayer {
public:
    FakePlayer();

    BoundFakeHost bound;
    service_ptr_t<FakeInputs> inputs;
    service_ptr_t<FakeConsole> console;
    service_ptr_t<FakeConfigStore> config;
    service_ptr_t<QtMainThread> mainThread;
    service_ptr_t<FakePlayback> playback;
};
