#pragma once

// The volume as the user sets it: decibels from silence (-100) to full (0),
// and a mute that remembers the level to go back to.

namespace playback {

class Volume {
public:
    static constexpr float kSilent = -100.0f;
    // One press of volume up or down.
    static constexpr float kStep = 1.0f;

    // What the player reports: kSilent while muted.
    float db() const { return m_muted ? kSilent : m_level; }
    // The level a mute returns to.
    float level() const { return m_level; }
    bool muted() const { return m_muted; }
    // The factor applied to samples: exactly 0 when silent.
    float gain() const;

    // Clamped; a non-number is ignored. Ends a mute.
    void set(float db);
    // While muted: up goes back to the level from before the mute, down stays muted.
    void up();
    void down();
    // Mutes, or goes back to the level from before. A level already silent
    // (a slider pulled to the bottom) goes back to the last audible one.
    void toggleMute();

    void restore(float level, bool muted);

private:
    float m_level = 0.0f;
    float m_lastAudible = 0.0f;
    bool m_muted = false;
};

}  // namespace playback
