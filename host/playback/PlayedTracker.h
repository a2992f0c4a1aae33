#pragma once

// When a track counts as played for the statistics: once half of it, or four
// minutes, has been heard. Time skipped by seeking does not count.

namespace playback {

class PlayedTracker {
public:
    static constexpr double kEnough = 240.0;

    // `length` 0 or less: unknown, four minutes then.
    explicit PlayedTracker(double length = 0);

    // The position now; true exactly once, when the track becomes played.
    bool update(double position);
    // A seek: the jump is not heard.
    void jumped(double position) { m_last = position; }
    double heard() const { return m_heard; }

private:
    double m_needed;
    double m_heard = 0;
    double m_last = 0;
    bool m_reported = false;
};

}  // namespace playback
