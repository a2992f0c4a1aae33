#include "PlayedTracker.h"

#include <algorithm>

namespace playback {

namespace {

// Larger steps between two looks at the clock are jumps, not listening.
constexpr double kLongestStep = 2.0;

}  // namespace

PlayedTracker::PlayedTracker(double length)
    : m_needed(length > 0 ? std::min(length / 2, kEnough) : kEnough) {}

bool PlayedTracker::update(double position) {
    const double step = position - m_last;
    m_last = position;
    if (step > 0 && step <= kLongestStep) m_heard += step;
    if (m_reported || m_heard < m_needed) return false;
    m_reported = true;
    return true;
}

}  // namespace playback
