#pragma once

// The buffer between a decoder and a device: the decoder writes, a render
// thread of the stream's own feeds the device at its pace, applying the
// volume on the way so that a change is heard within the device's buffer, not
// after everything decoded ahead.
//
// The clock is what has been heard: frames handed to the device minus those it
// still holds, counted from the start or the last flush.
//
// Threads: write, waitDrained and flush from the decoding thread; wake,
// setPaused and heardFrames from any thread.

#include "AudioDevice.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace playback {

class OutputStream {
public:
    // Checked whenever a blocked call wakes; true ends the wait early.
    using StopWaiting = std::function<bool()>;

    // `gain` is read for every block; 0 writes exact silence.
    OutputStream(std::unique_ptr<AudioDevice> device, const AudioFormat& format, double bufferSeconds,
                 const std::atomic<float>& gain, bool paused);
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    const AudioFormat& format() const { return m_format; }

    // Blocks while the buffer is full. False when `stop` ended the wait; the
    // frames not yet taken are then dropped.
    bool write(const float* samples, size_t frames, const StopWaiting& stop);
    // No more frames: blocks until every one was heard. False when `stop` ended the wait.
    bool waitDrained(const StopWaiting& stop);
    // Forgets what is buffered and unheard; the clock starts again at 0.
    void flush();
    // Makes blocked calls look at their `stop` again.
    void wake();

    void setPaused(bool paused);
    uint64_t heardFrames() const { return m_heard.load(); }

private:
    void run();
    void renderBlock(std::unique_lock<std::mutex>& lock);
    size_t bufferedFrames() const { return m_count / m_format.channels; }

    const AudioFormat m_format;
    const std::atomic<float>& m_gain;
    std::unique_ptr<AudioDevice> m_device;

    mutable std::mutex m_mutex;
    std::condition_variable m_cond;
    // A ring of interleaved samples.
    std::vector<float> m_ring;
    size_t m_head = 0;
    size_t m_count = 0;

    bool m_quit = false;
    bool m_paused = false;
    bool m_devicePaused = false;
    bool m_finishing = false;
    bool m_kick = false;  // wakes an idle render thread for a change its wait does not test
    bool m_drained = false;
    bool m_flushRequested = false;
    uint64_t m_epoch = 0;  // flushes so far: a block rendered across one is not counted
    uint64_t m_delivered = 0;
    std::atomic<uint64_t> m_heard{0};
    std::thread m_thread;
};

}  // namespace playback
