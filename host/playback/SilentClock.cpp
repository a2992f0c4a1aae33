#include "AudioDevice.h"

#include "Console.h"

#include <QByteArray>
#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace playback {

namespace {

using Clock = std::chrono::steady_clock;

// Plays nothing, but takes frames at the pace of a sound card with the same
// buffer, so positions, buffering and track ends behave as with real output.
class SilentClock final : public AudioDevice {
public:
    explicit SilentClock(const AudioFormat& format)
        : m_rate(std::max(1u, format.rate)),
          m_capacity(static_cast<uint64_t>(kDeviceBufferSeconds * m_rate)) {}

    bool write(const float*, size_t frames) override {
        const auto now = Clock::now();
        // Starved (or never started): the clock starts again from here.
        if (!m_running || heardAt(now) >= m_written) {
            m_start = now - framesToDuration(m_written);
            m_running = true;
        }
        m_written += frames;
        if (m_written > m_capacity)
            std::this_thread::sleep_until(m_start + framesToDuration(m_written - m_capacity));
        return true;
    }

    size_t delay() override { return static_cast<size_t>(m_written - heardAt(Clock::now())); }

    void setPaused(bool paused) override {
        if (paused == m_paused) return;
        const auto now = Clock::now();
        if (paused)
            m_pausedAt = now;
        else
            m_start += now - m_pausedAt;
        m_paused = paused;
    }

    void drop() override {
        m_written = 0;
        m_running = false;
    }

    void playOut() override {}

private:
    Clock::duration framesToDuration(uint64_t frames) const {
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(double(frames) / m_rate));
    }

    uint64_t heardAt(Clock::time_point now) const {
        if (!m_running) return m_written;
        const auto elapsed = (m_paused ? m_pausedAt : now) - m_start;
        const double frames = std::chrono::duration<double>(elapsed).count() * m_rate;
        return std::min<uint64_t>(m_written, frames > 0 ? static_cast<uint64_t>(frames) : 0);
    }

    const unsigned m_rate;
    const uint64_t m_capacity;
    uint64_t m_written = 0;
    bool m_running = false;
    bool m_paused = false;
    Clock::time_point m_start;
    Clock::time_point m_pausedAt;
};

}  // namespace

std::unique_ptr<AudioDevice> openSilentClock(const AudioFormat& format) {
    return std::make_unique<SilentClock>(format);
}

DeviceFactory systemDeviceFactory() {
    return [](const AudioFormat& format) -> std::unique_ptr<AudioDevice> {
        if (qgetenv("QUORVANE_AUDIO") != "null") {
            std::string error;
            if (auto device = openAlsaDevice(format, error)) return device;
            // Said once: headless machines would otherwise repeat it every track.
            static std::atomic<bool> told{false};
            if (!told.exchange(true))
                Console::global().print("Audio: no output device (" + error + "); playing on a silent clock");
        }
        return openSilentClock(format);
    };
}

}  // namespace playback
