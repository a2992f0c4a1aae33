#pragma once

// A block of decoded audio: interleaved 64-bit float samples, nominally in
// [-1, 1], with the sample rate and channel count they were decoded at.
// Decoders write into a chunk the caller owns, hence the virtual interface.
//
// Threads: a plain value, used by one thread at a time.
// Failure: set_data throws exception_io when the sizes overflow or no samples
// back them.

#include "exceptions.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using audio_sample = double;

class audio_chunk {
public:
    virtual audio_sample* get_data() = 0;
    virtual const audio_sample* get_data() const = 0;
    // Capacity in samples (not frames).
    virtual size_t get_data_size() const = 0;
    // Grows or shrinks the storage; samples kept keep their values.
    virtual void set_data_size(size_t samples) = 0;

    virtual unsigned get_srate() const = 0;
    virtual void set_srate(unsigned srate) = 0;
    virtual unsigned get_channels() const = 0;
    virtual void set_channels(unsigned channels) = 0;
    // Frames: one sample per channel each.
    virtual size_t get_sample_count() const = 0;
    virtual void set_sample_count(size_t frames) = 0;

    // Copies `frames` frames of interleaved samples.
    void set_data(const audio_sample* src, size_t frames, unsigned channels, unsigned srate) {
        if (channels != 0 && frames > SIZE_MAX / sizeof(audio_sample) / channels)
            throw exception_io("Audio chunk too large");
        const size_t samples = frames * channels;
        if (samples && !src) throw exception_io("Audio chunk without samples");
        set_data_size(samples);
        if (samples) std::memcpy(get_data(), src, samples * sizeof(audio_sample));
        set_channels(channels);
        set_srate(srate);
        set_sample_count(frames);
    }

    // A rate, a channel count and the samples to back the frame count.
    bool is_valid() const {
        const unsigned channels = get_channels();
        if (get_srate() == 0 || channels == 0) return false;
        const size_t frames = get_sample_count();
        return frames <= get_data_size() / channels;
    }
    bool is_empty() const { return get_sample_count() == 0; }
    // Seconds; 0 without a rate.
    double get_duration() const {
        return get_srate() ? double(get_sample_count()) / double(get_srate()) : 0.0;
    }
    void reset() {
        set_sample_count(0);
        set_channels(0);
        set_srate(0);
    }

protected:
    audio_chunk() = default;
    audio_chunk(const audio_chunk&) = default;
    audio_chunk& operator=(const audio_chunk&) = default;
    ~audio_chunk() = default;
};

class audio_chunk_impl final : public audio_chunk {
public:
    audio_sample* get_data() override { return m_data.data(); }
    const audio_sample* get_data() const override { return m_data.data(); }
    size_t get_data_size() const override { return m_data.size(); }
    void set_data_size(size_t samples) override { m_data.resize(samples); }

    unsigned get_srate() const override { return m_srate; }
    void set_srate(unsigned srate) override { m_srate = srate; }
    unsigned get_channels() const override { return m_channels; }
    void set_channels(unsigned channels) override { m_channels = channels; }
    size_t get_sample_count() const override { return m_frames; }
    void set_sample_count(size_t frames) override { m_frames = frames; }

private:
    std::vector<audio_sample> m_data;
    unsigned m_srate = 0;
    unsigned m_channels = 0;
    size_t m_frames = 0;
};
