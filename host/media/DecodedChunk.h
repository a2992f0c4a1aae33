#pragma once

// One block of decoded audio: interleaved 64-bit float frames with their rate
// and channel count. Reused from read to read: its storage only grows, to the
// largest block seen, so a whole-track decode allocates about once.

#include <cstddef>
#include <memory>
#include <span>

namespace media {

class DecodedChunk {
public:
    unsigned sampleRate() const { return m_sampleRate; }
    unsigned channels() const { return m_channels; }
    size_t frames() const { return m_frames; }
    size_t sampleCount() const { return m_frames * m_channels; }
    bool empty() const { return m_frames == 0; }
    double duration() const;

    // Interleaved: sample c of frame f is at f * channels() + c.
    const double* data() const { return m_data.get(); }
    std::span<const double> samples() const { return {m_data.get(), sampleCount()}; }

    // Shapes the chunk and returns its storage for frames × channels samples,
    // which the caller fills. Earlier contents are not kept.
    double* prepare(size_t frames, unsigned channels, unsigned sampleRate);
    // Keeps only the first `frames` frames.
    void shrink(size_t frames);
    void clear();

private:
    // 4096 stereo frames: a FLAC block, or several MP3 or AAC frames.
    static constexpr size_t kMinimumCapacity = 8192;

    std::unique_ptr<double[]> m_data;
    size_t m_capacity = 0;
    size_t m_frames = 0;
    unsigned m_channels = 0;
    unsigned m_sampleRate = 0;
};

}  // namespace media
