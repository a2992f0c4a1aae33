#pragma once

#include <cstddef>
#include <vector>

namespace wave {

constexpr size_t kBins = 2048;

// A track's shape: per bin the largest absolute sample and the RMS level.
// Immutable once published; shared by the cache, views and pending calls.
struct Waveform {
    std::vector<float> peak = std::vector<float>(kBins, 0.0f);
    std::vector<float> rms = std::vector<float>(kBins, 0.0f);
    // Only the summary published after the decoder reached the end.
    bool complete = false;
};

}  // namespace wave
