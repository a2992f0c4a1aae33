#include "DecodedChunk.h"

#include <algorithm>

namespace media {

double DecodedChunk::duration() const { return m_sampleRate ? double(m_frames) / m_sampleRate : 0.0; }

double* DecodedChunk::prepare(size_t frames, unsigned channels, unsigned sampleRate) {
    const size_t needed = frames * channels;
    if (needed > m_capacity) {
        // Room for a typical block from the start, so that a short first block
        // (after an encoder delay, say) does not cost a second allocation. No
        // value-initialisation: the caller overwrites every sample.
        const size_t capacity = std::max(needed, kMinimumCapacity);
        m_data.reset(new double[capacity]);
        m_capacity = capacity;
    }
    m_frames = frames;
    m_channels = channels;
    m_sampleRate = sampleRate;
    return m_data.get();
}

void DecodedChunk::shrink(size_t frames) { m_frames = std::min(frames, m_frames); }

void DecodedChunk::clear() { m_frames = 0; }

}  // namespace media
