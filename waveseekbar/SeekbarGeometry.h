#pragma once

// The seekbar's arithmetic in points, independent of any widget: where the
// wave sits, which bins a column covers, where the position falls, and which
// time a mouse x means.

#include <string>
#include <utility>

namespace wave {

// "m:ss" below an hour, "h:mm:ss" from an hour on; seconds truncated.
std::string formatTime(double seconds);

class SeekbarGeometry {
public:
    SeekbarGeometry(double width, double height, bool sideTimes);

    double waveX() const { return m_waveX; }
    double waveW() const { return m_waveW; }
    double midY() const { return m_height / 2; }
    double halfH() const { return m_height / 2 - 2; }
    double width() const { return m_width; }
    double height() const { return m_height; }

    // Not clamped: a position past the length lies right of the wave.
    double positionX(double time, double length) const;
    // The time a mouse x means, clamped to the track.
    double timeForX(double x, double length) const;
    // The time shown at an x inside the wave.
    double timeAtX(double x, double length) const;
    bool insideWave(double x) const { return m_waveX <= x && x <= m_waveX + m_waveW; }

    int columnCount() const;
    // Bins [first, end) that column k of n covers; never empty.
    static std::pair<size_t, size_t> binRange(int k, int n);

private:
    double m_width;
    double m_height;
    double m_waveX;
    double m_waveW;
};

}  // namespace wave
