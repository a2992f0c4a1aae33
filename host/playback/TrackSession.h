#pragma once

// One track being played: a decoding thread that reads the track through the
// host's decoders (input_helper) and feeds an output stream, which owns the
// clock. Seeking and pausing reach the thread through flags; destroying the
// session aborts the decoder and waits for both threads.
//
// Threads: construct, control and destroy on one thread (the engine's, the
// main thread). The events run on the decoding thread; the engine forwards
// them to the main thread.

#include "abort_callback.h"
#include "AudioDevice.h"
#include "metadb_handle.h"
#include "OutputStream.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace playback {

class TrackSession {
public:
    struct Events {
        // The decoder opened; `canSeek` is its answer.
        std::function<void(bool canSeek)> opened;
        // Opening or decoding failed; the message names the reason.
        std::function<void(const std::string& message)> failed;
        // Every frame of the track has been heard.
        std::function<void()> ended;
    };

    TrackSession(service_ptr_t<metadb_handle> track, bool paused, DeviceFactory devices,
                 const std::atomic<float>& gain, Events events);
    ~TrackSession();
    TrackSession(const TrackSession&) = delete;
    TrackSession& operator=(const TrackSession&) = delete;

    void seek(double seconds);
    void setPaused(bool paused);

    // Seconds heard; a seek shows its target at once.
    double position() const;
    bool canSeek() const { return m_canSeek.load(); }
    // Of the audio now playing; zeros before the first block.
    AudioFormat format() const;

private:
    void run();
    void decode();
    bool stopWaiting() const { return m_abort.is_aborting() || m_seekPending.load(); }
    OutputStream* stream() const;
    void wakeStream();

    const service_ptr_t<metadb_handle> m_track;
    const DeviceFactory m_devices;
    const std::atomic<float>& m_gain;
    const Events m_events;

    abort_callback_impl m_abort;
    std::atomic<bool> m_canSeek{false};
    std::atomic<bool> m_seekPending{false};

    mutable std::mutex m_mutex;  // guards everything below
    bool m_paused;
    double m_seekTarget = 0;
    // Where the stream's clock started, in track seconds.
    double m_base = 0;
    std::unique_ptr<OutputStream> m_stream;

    std::thread m_thread;
};

}  // namespace playback
