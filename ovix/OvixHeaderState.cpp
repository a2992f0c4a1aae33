#include "OvixHeaderState.h"

#include "OvixText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

constexpr float kSilent = -100.0f;

bool sameAscii(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const auto la = char(std::tolower(static_cast<unsigned char>(*a)));
        const auto lb = char(std::tolower(static_cast<unsigned char>(*b)));
        if (la != lb) return false;
        if (!la) return true;
    }
}

}  // namespace

OvixHeaderDisplay headerDisplay(const OvixPlayerSnapshot& s) {
    OvixHeaderDisplay d;
    if (s.hasTrack) {
        d.title = s.title;
        d.artist = s.artist;
        d.album = s.album;
        d.tech = s.tech;
        d.time = QStringLiteral("%1 / %2").arg(
            formatDuration(s.position), s.length > 0 ? formatDuration(s.length) : QStringLiteral("--:--"));
    } else {
        d.title = QStringLiteral("quorvane");
    }
    d.playHighlighted = s.hasTrack && !s.paused;
    d.pauseHighlighted = s.paused;
    d.muted = !(s.volume > kSilent);
    // The host's contract keeps the volume at or below 0 dB; the slider stays in range regardless.
    d.slider = d.muted ? 0.0 : std::clamp(std::pow(10.0, double(s.volume) / 40.0), 0.0, 1.0);
    d.shuffleOn = s.shuffleOrder != SIZE_MAX && s.activeOrder == s.shuffleOrder;
    d.repeatOn = s.repeatOrder != SIZE_MAX && s.activeOrder == s.repeatOrder;
    return d;
}

float volumeForSlider(double v) {
    if (!(v > 0.001)) return kSilent;
    return float(40.0 * std::log10(v));
}

size_t matchOrder(size_t count, const std::function<const char*(size_t)>& nameAt, const char* name) {
    if (!name) return SIZE_MAX;
    for (size_t i = 0; i < count; ++i) {
        const char* candidate = nameAt(i);
        if (candidate && sameAscii(candidate, name)) return i;
    }
    return SIZE_MAX;
}

size_t toggledOrder(size_t active, size_t target) {
    if (target == SIZE_MAX) return active;
    return active == target ? 0 : target;
}
