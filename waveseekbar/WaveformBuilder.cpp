#include "WaveformBuilder.h"

#include <algorithm>
#include <cmath>

namespace wave {

WaveformBuilder::WaveformBuilder(double lengthSeconds) : m_length(lengthSeconds) {}

void WaveformBuilder::addFrames(const double* samples, size_t frames, unsigned channels,
                                unsigned sampleRate) {
    if (channels == 0 || frames == 0) return;
    if (m_expectedTotal == 0) m_expectedTotal = double(sampleRate) * m_length;
    const double invChannels = 1.0 / channels;

    for (size_t f = 0; f < frames; ++f, samples += channels) {
        // Divide first, as the bin boundaries are defined; a zero rate sends
        // every frame to the last bin rather than converting infinity.
        const double pos =
            m_expectedTotal > 0 ? double(m_frames) / m_expectedTotal * double(kBins) : double(kBins);
        const size_t bin = pos >= double(kBins - 1) ? kBins - 1 : size_t(pos);
        float framePeak = 0;
        double energy = 0;
        for (unsigned c = 0; c < channels; ++c) {
            // A broken decoder's NaN or infinity would make the bars unpaintable.
            float a = std::fabs(float(samples[c]));
            if (!std::isfinite(a)) a = 0;
            framePeak = std::max(framePeak, a);
            energy += double(a) * double(a);
        }
        if (framePeak > m_work.peak[bin]) m_work.peak[bin] = framePeak;
        m_sums[bin] += energy * invChannels;
        ++m_counts[bin];
        ++m_frames;
    }
}

std::shared_ptr<const Waveform> WaveformBuilder::snapshot(bool complete) const {
    auto out = std::make_shared<Waveform>();
    out->peak = m_work.peak;
    for (size_t i = 0; i < kBins; ++i)
        out->rms[i] = m_counts[i] > 0 ? float(std::sqrt(m_sums[i] / double(m_counts[i]))) : 0.0f;
    out->complete = complete;
    return out;
}

}  // namespace wave
