#pragma once

// The status bar's texts before the player formats them: the volume as text,
// put into a pattern wherever it says %volume%, and what a pattern shows
// while nothing plays. Any thread.

#include <string>
#include <string_view>

namespace status_text {

inline constexpr std::string_view kVolumeField = "%volume%";

// Two decimals and "dB", no space: "0.00dB", "-12.00dB".
std::string volumeText(float db);

// Every %volume% replaced by `volume`, as plain text: the volume then takes
// part in the formatting like literal text.
std::string withVolume(std::string_view pattern, std::string_view volume);

// While stopped only a bare volume pattern shows anything: the volume.
std::string stoppedText(std::string_view pattern, std::string_view volume);

}  // namespace status_text
