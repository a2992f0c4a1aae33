#include "OutputStream.h"

#include "Console.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace playback {

namespace {

// The render thread's step: small enough that a pause or a flush is quick.
constexpr double kBlockSeconds = 0.02;
// How often an idle render thread looks at the device's clock.
constexpr auto kIdlePoll = std::chrono::milliseconds(5);
constexpr auto kStillPoll = std::chrono::milliseconds(100);

}  // namespace

OutputStream::OutputStream(std::unique_ptr<AudioDevice> device, const AudioFormat& format,
                           double bufferSeconds, const std::atomic<float>& gain, bool paused)
    : m_format(format), m_gain(gain), m_device(std::move(device)), m_paused(paused) {
    const size_t frames = std::max<size_t>(1, size_t(bufferSeconds * format.rate));
    m_ring.assign(frames * format.channels, 0.0f);
    m_thread = std::thread([this] { run(); });
}

OutputStream::~OutputStream() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_cond.notify_all();
    m_thread.join();
}

bool OutputStream::write(const float* samples, size_t frames, const StopWaiting& stop) {
    const size_t channels = m_format.channels;
    std::unique_lock lock(m_mutex);
    while (frames > 0) {
        m_cond.wait(lock, [&] { return m_quit || stop() || m_count < m_ring.size(); });
        if (m_quit || stop()) return false;
        const size_t room = (m_ring.size() - m_count) / channels;
        const size_t n = std::min(room, frames);
        size_t tail = (m_head + m_count) % m_ring.size();
        for (size_t i = 0; i < n * channels; ++i) {
            m_ring[tail] = samples[i];
            if (++tail == m_ring.size()) tail = 0;
        }
        m_count += n * channels;
        samples += n * channels;
        frames -= n;
        m_finishing = false;
        m_drained = false;
        m_cond.notify_all();
    }
    return true;
}

bool OutputStream::waitDrained(const StopWaiting& stop) {
    std::unique_lock lock(m_mutex);
    m_finishing = true;
    m_kick = true;
    m_cond.notify_all();
    m_cond.wait(lock, [&] { return m_quit || stop() || m_drained; });
    return m_drained && !stop();
}

void OutputStream::flush() {
    std::unique_lock lock(m_mutex);
    m_flushRequested = true;
    m_cond.notify_all();
    m_cond.wait(lock, [&] { return m_quit || !m_flushRequested; });
}

void OutputStream::wake() {
    std::lock_guard lock(m_mutex);
    m_cond.notify_all();
}

void OutputStream::setPaused(bool paused) {
    std::lock_guard lock(m_mutex);
    m_paused = paused;
    m_cond.notify_all();
}

void OutputStream::run() {
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (m_flushRequested) {
            lock.unlock();
            m_device->drop();
            lock.lock();
            m_head = m_count = 0;
            m_delivered = 0;
            m_heard = 0;
            m_finishing = m_drained = false;
            m_flushRequested = false;
            ++m_epoch;
            m_cond.notify_all();
            continue;
        }
        if (m_paused != m_devicePaused) {
            const bool paused = m_paused;
            lock.unlock();
            m_device->setPaused(paused);
            lock.lock();
            m_devicePaused = paused;
            continue;
        }
        if (!m_paused && m_count > 0) {
            renderBlock(lock);
            continue;
        }
        // Idle: paused, starved or playing out the end. The device still plays
        // what it holds, so the clock keeps moving.
        const bool playingOut = m_finishing && m_count == 0 && !m_paused;
        lock.unlock();
        if (playingOut) m_device->playOut();
        const size_t delay = m_device->delay();
        lock.lock();
        m_heard = m_delivered - std::min<uint64_t>(delay, m_delivered);
        if (playingOut && delay == 0 && m_finishing && m_count == 0 && !m_drained) {
            m_drained = true;
            m_cond.notify_all();
        }
        // Nothing moves while paused or once the device ran dry: only a
        // request (which notifies) can change that.
        const bool still = m_paused || (delay == 0 && !m_finishing);
        m_cond.wait_for(lock, still ? kStillPoll : kIdlePoll, [&] {
            return m_quit || m_kick || m_flushRequested || m_paused != m_devicePaused ||
                   (!m_paused && m_count > 0);
        });
        m_kick = false;
    }
}

void OutputStream::renderBlock(std::unique_lock<std::mutex>& lock) {
    const size_t channels = m_format.channels;
    const size_t blockFrames = std::max<size_t>(1, size_t(kBlockSeconds * m_format.rate));
    const size_t frames = std::min(blockFrames, bufferedFrames());
    std::vector<float> block(frames * channels);
    for (float& s : block) {
        s = m_ring[m_head];
        if (++m_head == m_ring.size()) m_head = 0;
    }
    m_count -= block.size();
    const uint64_t epoch = m_epoch;
    m_cond.notify_all();
    lock.unlock();

    const float gain = m_gain.load();
    if (gain <= 0.0f)
        std::fill(block.begin(), block.end(), 0.0f);
    else if (gain != 1.0f)
        for (float& s : block) s *= gain;
    if (!m_device->write(block.data(), frames)) {
        // Carry on silently rather than stall playback or report a track error.
        Console::global().print("Audio: the output device failed; playing on a silent clock");
        m_device = openSilentClock(m_format);
        m_device->write(block.data(), frames);
    }
    const size_t delay = m_device->delay();

    lock.lock();
    if (epoch != m_epoch) return;
    m_delivered += frames;
    m_heard = m_delivered - std::min<uint64_t>(delay, m_delivered);
}

}  // namespace playback
