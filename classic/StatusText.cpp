#include "StatusText.h"

#include "cvk_format.h"

namespace status_text {

std::string volumeText(float db) { return cvk::format_float(db, 0, 2).str() + "dB"; }

std::string withVolume(std::string_view pattern, std::string_view volume) {
    std::string out;
    out.reserve(pattern.size());
    for (size_t at = 0;;) {
        const size_t found = pattern.find(kVolumeField, at);
        if (found == std::string_view::npos) {
            out.append(pattern.substr(at));
            return out;
        }
        out.append(pattern.substr(at, found - at)).append(volume);
        at = found + kVolumeField.size();
    }
}

std::string stoppedText(std::string_view pattern, std::string_view volume) {
    return pattern == kVolumeField ? std::string(volume) : std::string();
}

}  // namespace status_text
