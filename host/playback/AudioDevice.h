#pragma once

// Where decoded audio goes: the system's sound output, or a silent clock that
// consumes samples in real time as a sound card would.
//
// Threads: a device is driven by one thread (its output stream's render
// thread); the factory may be called from any thread.
// Failure: write returns false when the device broke (unplugged, server gone);
// the stream then carries on with a silent clock.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace playback {

struct AudioFormat {
    unsigned rate = 0;
    unsigned channels = 0;
    bool operator==(const AudioFormat&) const = default;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Interleaved float frames; blocks while the device's own buffer is full,
    // which paces the caller to real time.
    virtual bool write(const float* samples, size_t frames) = 0;
    // Frames written but not heard yet.
    virtual size_t delay() = 0;
    virtual void setPaused(bool paused) = 0;
    // Forgets every frame not heard yet.
    virtual void drop() = 0;
    // Nothing more comes for now: play out what is held, even when it never
    // filled the device enough to start on its own.
    virtual void playOut() = 0;
};

// Never null: a factory that cannot open its device falls back to the clock.
using DeviceFactory = std::function<std::unique_ptr<AudioDevice>(const AudioFormat& format)>;

// Seconds of audio a device holds ahead of what is heard; the silent clock
// holds the same as the sound card so both behave alike.
inline constexpr double kDeviceBufferSeconds = 0.1;

std::unique_ptr<AudioDevice> openSilentClock(const AudioFormat& format);

// The default sound output through ALSA; null (with `error`) when it does not open.
std::unique_ptr<AudioDevice> openAlsaDevice(const AudioFormat& format, std::string& error);

// The system's output, or the silent clock when QUORVANE_AUDIO=null or no
// device opens (the console says so once per process).
DeviceFactory systemDeviceFactory();

}  // namespace playback
