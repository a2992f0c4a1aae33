#pragma once

// A playback engine on a capturing silent clock, fed by synthetic tracks from
// a fake input_manager, with the real playlist manager and an event log.

#include "AudioDevice.h"
#include "play_callback.h"
#include "PlaybackEngine.h"
#include "PlaylistManager.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// What a synthetic track decodes to.
struct Synth {
    double seconds = 0.3;
    unsigned rate = 8000;
    unsigned channels = 2;
    float value = 0.5f;  // every sample
    bool failOpen = false;
    double failAfter = -1;  // seconds into the track; negative: never
    bool seekable = true;
};

// The tracks the fake decoders know, by path.
class SynthLibrary {
public:
    static SynthLibrary& global();
    // A track handle "file:///synth/NAME" decoding to `synth`.
    service_ptr_t<metadb_handle> add(const std::string& name, const Synth& synth = {});
    bool find(const std::string& path, Synth& out);

private:
    std::mutex m_mutex;
    std::map<std::string, Synth> m_synths;
};

// Every block the engine handed to the output, on a real-time silent clock.
class Capture {
public:
    playback::DeviceFactory factory();
    std::vector<float> samples();
    void clear();

private:
    friend class CaptureDevice;
    std::mutex m_mutex;
    std::vector<float> m_samples;
};

// Play events as short texts: "starting 1 0", "new a", "stop 2", "time 1",
// "seek 0.5", "pause 1", "volume -6.0".
class EventLog : public play_callback_impl_base {
public:
    explicit EventLog(uint32_t flags = flag_all) : play_callback_impl_base(flags) {}
    std::vector<std::string> events;
    std::function<void(const std::string&)> onEvent;

    void on_playback_starting(playback_control::t_track_command command, bool paused) override;
    void on_playback_new_track(service_ptr_t<metadb_handle> track) override;
    void on_playback_stop(playback_control::t_stop_reason reason) override;
    void on_playback_seek(double seconds) override;
    void on_playback_pause(bool state) override;
    void on_playback_time(double seconds) override;
    void on_volume_change(float db) override;

    // The events without the time ones.
    std::vector<std::string> withoutTime() const;

private:
    void log(std::string line);
};

// Runs the event loop until `done` or the timeout; false on timeout.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));
void pumpFor(std::chrono::milliseconds duration);

class PlaybackTest : public ::testing::Test {
protected:
    PlaybackTest();
    ~PlaybackTest() override;

    // A playlist of synthetic tracks, active.
    size_t playlistOf(const std::vector<std::pair<std::string, Synth>>& tracks);
    // The file name of the playing track, "" when stopped.
    std::string playing();
    // Waits for the stop that ends playback (any reason but 2).
    bool waitStopped(std::chrono::milliseconds timeout = std::chrono::seconds(8));
    std::vector<std::string> consoleSince() const;

    QTemporaryDir profile;
    Capture capture;
    service_ptr_t<playlists::PlaylistManager> playlists;
    std::unique_ptr<playback::PlaybackEngine> engine;
    EventLog log;
    uint64_t consoleMark;
};

using Strings = std::vector<std::string>;
