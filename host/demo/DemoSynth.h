#pragma once

// Generated music for the demo library: chord progressions played as a pad,
// a plucked arpeggio and a bass line, with sections that come and go so that
// every track has a waveform of its own. Plain arithmetic, deterministic for
// a given seed.

#include <cstdint>
#include <vector>

namespace demo {

struct SynthStyle {
    uint32_t seed = 1;
    double seconds = 30;
    int rootNote = 57;   // MIDI: A3
    double tempo = 100;  // beats per minute
    bool minor = false;
    double brightness = 0.5;  // 0 soft sines, 1 bright plucks
};

inline constexpr unsigned kDemoRate = 44100;

// Interleaved stereo at kDemoRate, within ±0.95.
std::vector<float> synthesize(const SynthStyle& style);

}  // namespace demo
