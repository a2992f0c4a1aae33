#include "Volume.h"

#include <algorithm>
#include <cmath>

namespace playback {

float Volume::gain() const {
    const float v = db();
    if (v <= kSilent) return 0.0f;
    return std::pow(10.0f, v / 20.0f);
}

void Volume::set(float db) {
    if (std::isnan(db)) return;
    m_level = std::clamp(db, kSilent, 0.0f);
    if (m_level > kSilent) m_lastAudible = m_level;
    m_muted = false;
}

void Volume::up() {
    if (m_muted) {
        m_muted = false;
        return;
    }
    set(m_level + kStep);
}

void Volume::down() {
    if (m_muted) return;
    set(m_level - kStep);
}

void Volume::toggleMute() {
    if (m_muted) {
        m_muted = false;
    } else if (m_level <= kSilent) {
        m_level = m_lastAudible;
    } else {
        m_muted = true;
    }
}

void Volume::restore(float level, bool muted) {
    set(level);
    m_muted = muted;
}

}  // namespace playback
