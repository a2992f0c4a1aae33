#pragma once

// What one refresh of the Ovix header shows, decided from what it read from
// the host: the four lines, the time, which buttons stand out, the volume
// slider and its symbol. Plain values, so the decisions are checked without a
// window. Any thread.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

// What the header read from the host in one refresh.
struct OvixPlayerSnapshot {
    bool hasTrack = false;  // something is now playing (or paused)
    QString title, artist, album, tech;
    double length = 0;  // seconds; 0 or less when unknown
    double position = 0;
    bool paused = false;
    float volume = 0;  // decibels
    size_t activeOrder = SIZE_MAX;
    size_t shuffleOrder = SIZE_MAX;  // the host's "Shuffle (tracks)", SIZE_MAX when it has none
    size_t repeatOrder = SIZE_MAX;   // the host's "Repeat (playlist)"
};

struct OvixHeaderDisplay {
    QString title, artist, album, tech, time;
    bool playHighlighted = false;
    bool pauseHighlighted = false;
    double slider = 1.0;  // 0 to 1
    bool muted = false;   // the crossed-out speaker
    bool shuffleOn = false;
    bool repeatOn = false;
};

OvixHeaderDisplay headerDisplay(const OvixPlayerSnapshot& s);

// Slider position to decibels: the inverse of the display's 10^(dB / 40), with
// everything at or below 0.001 silent.
float volumeForSlider(double v);

// The playback order the toggles look for, by name ignoring ASCII case: the
// first match among `count` names, SIZE_MAX when none matches. A null name
// matches nothing.
size_t matchOrder(size_t count, const std::function<const char*(size_t)>& nameAt, const char* name);

// What a toggle sets: back to the first order when `target` is active already.
// SIZE_MAX (no such order) leaves `active` as it is.
size_t toggledOrder(size_t active, size_t target);
