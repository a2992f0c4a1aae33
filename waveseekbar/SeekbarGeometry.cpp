#include "SeekbarGeometry.h"

#include "Waveform.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace wave {

std::string formatTime(double seconds) {
    // Converting NaN, infinities or huge values to an integer is undefined.
    const int64_t s = std::isfinite(seconds) && std::fabs(seconds) < 9.2e18 ? int64_t(seconds) : 0;
    char buf[48];
    if (s < 3600)
        std::snprintf(buf, sizeof buf, "%" PRId64 ":%02" PRId64, s / 60, s % 60);
    else
        std::snprintf(buf, sizeof buf, "%" PRId64 ":%02" PRId64 ":%02" PRId64, s / 3600, (s / 60) % 60,
                      s % 60);
    return buf;
}

SeekbarGeometry::SeekbarGeometry(double width, double height, bool sideTimes)
    : m_width(width),
      m_height(height),
      m_waveX(sideTimes ? 54 : 0),
      m_waveW(std::max(width - 2 * m_waveX, 1.0)) {}

double SeekbarGeometry::positionX(double time, double length) const {
    return length > 0 ? m_waveX + time / length * m_waveW : m_waveX;
}

double SeekbarGeometry::timeForX(double x, double length) const {
    return std::clamp((x - m_waveX) / m_waveW, 0.0, 1.0) * length;
}

double SeekbarGeometry::timeAtX(double x, double length) const { return length * (x - m_waveX) / m_waveW; }

int SeekbarGeometry::columnCount() const { return int(std::ceil(m_waveW)); }

std::pair<size_t, size_t> SeekbarGeometry::binRange(int k, int n) {
    const size_t b0 = size_t(std::floor(double(k) / n * double(kBins)));
    size_t b1 = size_t(std::floor(double(k + 1) / n * double(kBins)));
    b1 = std::min(std::max(b1, b0 + 1), kBins);
    return {b0, b1};
}

}  // namespace wave
