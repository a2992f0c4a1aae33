#pragma once

// Folds a track's decoded frames into the bins of a Waveform. Memory is fixed
// whatever the track length. Not thread-safe: owned by one scan thread.

#include "Waveform.h"

#include <array>
#include <cstdint>
#include <memory>

namespace wave {

class WaveformBuilder {
public:
    // `lengthSeconds` > 0: the expected total is fixed from the first chunk's rate.
    explicit WaveformBuilder(double lengthSeconds);

    // Interleaved samples of `frames` frames with `channels` channels each.
    void addFrames(const double* samples, size_t frames, unsigned channels, unsigned sampleRate);

    // A fresh, independent summary of everything folded so far.
    std::shared_ptr<const Waveform> snapshot(bool complete) const;

    uint64_t framesSeen() const { return m_frames; }

private:
    const double m_length;
    Waveform m_work;
    std::array<double, kBins> m_sums{};
    std::array<uint64_t, kBins> m_counts{};
    uint64_t m_frames = 0;
    double m_expectedTotal = 0;
};

}  // namespace wave
