#include "DemoSynth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <random>

namespace demo {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr size_t kTableSize = 4096;

// One cycle of a waveform with the given harmonic amplitudes; looked up
// instead of calling sin for every voice and sample.
class Wavetable {
public:
    explicit Wavetable(std::initializer_list<double> harmonics) {
        double peak = 0;
        for (size_t i = 0; i < kTableSize; ++i) {
            double v = 0;
            int h = 1;
            for (double a : harmonics) v += a * std::sin(2 * kPi * h++ * double(i) / kTableSize);
            m_table[i] = float(v);
            peak = std::max(peak, std::abs(v));
        }
        for (float& v : m_table) v = float(v / peak);
    }
    float at(double phase) const {  // phase in cycles
        const double x = (phase - std::floor(phase)) * kTableSize;
        const size_t i = size_t(x);
        const float frac = float(x - double(i));
        return m_table[i] + (m_table[(i + 1) % kTableSize] - m_table[i]) * frac;
    }

private:
    std::array<float, kTableSize> m_table{};
};

double noteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Rises over `attack`, falls towards `sustain` with time constant `decay`, and
// fades out over `release` once the note is let go. Seconds, levels 0..1.
struct Envelope {
    double attack;
    double decay;
    double sustain;
    double release;
};

constexpr Envelope kPadEnvelope{0.4, 1.5, 0.35, 0.6};
constexpr Envelope kPluckEnvelope{0.005, 0.15, 0.0, 0.05};
constexpr Envelope kBassEnvelope{0.01, 0.4, 0.35, 0.1};

struct Mix {
    std::vector<float> left, right;
    explicit Mix(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

    // A note from `start`, held for `length` frames, panned -1 (left) to 1 (right).
    void note(const Wavetable& wave, double hz, size_t start, size_t length, const Envelope& e, float gain,
              float pan) {
        const auto attack = std::max(1.0, e.attack * kDemoRate);
        const double decay = e.decay * kDemoRate;
        const auto release = std::max<size_t>(1, size_t(e.release * kDemoRate));
        const size_t end = std::min(left.size(), start + length + release);
        const double step = hz / kDemoRate;
        const float l = gain * std::sqrt(0.5f * (1.0f - pan));
        const float r = gain * std::sqrt(0.5f * (1.0f + pan));
        // exp(-t / decay) kept by multiplication: exp per sample would dominate.
        const double fallStep = std::exp(-1.0 / decay);
        double fall = 1.0;
        for (size_t i = start; i < end; ++i) {
            const double t = double(i - start);
            double env;
            if (t < attack) {
                env = t / attack;
            } else {
                env = e.sustain + (1 - e.sustain) * fall;
                fall *= fallStep;
            }
            if (i >= start + length) env *= 1.0 - double(i - start - length) / double(release);
            const float s = wave.at(t * step) * float(env);
            left[i] += s * l;
            right[i] += s * r;
        }
    }
};

// Scale degrees of common progressions (0-based, within the scale).
constexpr std::array<std::array<int, 4>, 5> kProgressions = {{
    {0, 4, 5, 3},  // I V vi IV
    {0, 5, 3, 4},  // I vi IV V
    {5, 3, 0, 4},  // vi IV I V
    {0, 3, 4, 3},
    {1, 4, 0, 0},  // ii V I I
}};

int scaleNote(int root, bool minor, int degree) {
    static constexpr int major[] = {0, 2, 4, 5, 7, 9, 11};
    static constexpr int minorScale[] = {0, 2, 3, 5, 7, 8, 10};
    const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    const int d = degree - octave * 7;
    return root + 12 * octave + (minor ? minorScale[d] : major[d]);
}

}  // namespace

std::vector<float> synthesize(const SynthStyle& style) {
    const auto frames = size_t(style.seconds * kDemoRate);
    Mix mix(frames);
    std::mt19937 random(style.seed);
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; };

    const Wavetable pad({1.0, 0.5, 0.33, 0.25, 0.2});
    const Wavetable pluck({1.0, 0.6 * style.brightness, 0.4 * style.brightness, 0.2 * style.brightness});
    const Wavetable bass({1.0, 0.25});

    const auto& progression = kProgressions[random() % kProgressions.size()];
    const double beat = 60.0 / style.tempo;
    const auto barFrames = size_t(4 * beat * kDemoRate);
    const auto eighth = size_t(beat / 2 * kDemoRate);
    const size_t bars = frames / barFrames + 1;

    // Sections of four bars, each with its own layers and loudness.
    bool arp = false, bassOn = false;
    float intensity = 0.6f;
    for (size_t bar = 0; bar < bars; ++bar) {
        if (bar % 4 == 0) {
            const bool opening = bar == 0;
            arp = !opening && chance(0.75);
            bassOn = !opening && chance(0.8);
            intensity =
                opening ? 0.45f : float(0.5 + 0.5 * std::uniform_real_distribution<double>(0, 1)(random));
        }
        const size_t start = bar * barFrames;
        if (start >= frames) break;
        const int degree = progression[bar % progression.size()];
        const int chordRoot = scaleNote(style.rootNote, style.minor, degree);
        const int chord[] = {chordRoot, scaleNote(style.rootNote, style.minor, degree + 2),
                             scaleNote(style.rootNote, style.minor, degree + 4)};

        for (size_t v = 0; v < 3; ++v)
            mix.note(pad, noteHz(chord[v]), start, barFrames, kPadEnvelope, 0.16f * intensity,
                     float(v) * 0.6f - 0.6f);
        if (bassOn) {
            mix.note(bass, noteHz(chordRoot - 12), start, barFrames / 2, kBassEnvelope, 0.32f * intensity,
                     0.0f);
            mix.note(bass, noteHz(chordRoot - 12), start + barFrames / 2, barFrames / 2, kBassEnvelope,
                     0.26f * intensity, 0.0f);
        }
        if (arp) {
            // Up and down the chord an octave higher, a skipped step now and then.
            static constexpr int pattern[] = {0, 1, 2, 3, 2, 1, 0, 2};
            for (size_t step = 0; step < 8; ++step) {
                if (chance(0.12)) continue;
                const int p = pattern[step];
                const int midi = p == 3 ? chord[0] + 24 : chord[p] + 12;
                mix.note(pluck, noteHz(midi), start + step * eighth, eighth, kPluckEnvelope,
                         0.22f * intensity, step % 2 ? 0.45f : -0.45f);
            }
        }
    }

    // Fade in and out; then a level from the loud passages (not the single
    // highest peak) and a soft limiter, so the waveform fills its height as
    // mastered music does.
    const auto fadeIn = size_t(std::min(1.5, style.seconds / 8) * kDemoRate);
    const auto fadeOut = size_t(std::min(3.0, style.seconds / 6) * kDemoRate);
    std::vector<float> magnitudes;
    magnitudes.reserve(frames / 64 + 1);
    for (size_t i = 0; i < frames; ++i) {
        float g = 1.0f;
        if (i < fadeIn) g = float(i) / float(fadeIn);
        if (i + fadeOut > frames) g = std::min(g, float(frames - i) / float(fadeOut));
        mix.left[i] *= g;
        mix.right[i] *= g;
        if (i % 64 == 0) magnitudes.push_back(std::max(std::abs(mix.left[i]), std::abs(mix.right[i])));
    }
    float level = 0;
    if (!magnitudes.empty()) {
        const auto loud = magnitudes.begin() + std::ptrdiff_t(magnitudes.size() * 995 / 1000);
        std::nth_element(magnitudes.begin(), loud, magnitudes.end());
        level = *loud;
    }
    const float scale = level > 0 ? 0.75f / level : 1.0f;
    const auto limit = [scale](float x) { return 0.95f * std::tanh(x * scale / 0.95f); };
    std::vector<float> out(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        out[2 * i] = limit(mix.left[i]);
        out[2 * i + 1] = limit(mix.right[i]);
    }
    return out;
}

}  // namespace demo
