#pragma once

// The toolbar's volume slider and what shows beside it. The slider position s
// (0 to 1) and the player's volume v (decibels, 0 at full volume) are related
// by v = 40 log10(s): half the slider is about -12 dB, a quarter about -24 dB.
// Any thread.

#include <QString>

namespace volume_slider {

// At and below this the player is silent.
inline constexpr double kSilentDb = -100;

// The volume for a slider position; the slider's bottom end is silence.
double volumeForPosition(double position);
// The slider position for a volume; silence and below are the bottom end.
double positionForVolume(double db);

// The percent beside the slider: the position, not a loudness ("50%").
QString percentText(double position);
// The slider's tooltip: "Volume: -12.0 dB".
QString volumeTip(double db);
// The mute button's symbol for a volume.
const char* muteSymbol(double db);

}  // namespace volume_slider
