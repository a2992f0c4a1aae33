#include "VolumeSlider.h"

#include <cmath>

namespace volume_slider {

double volumeForPosition(double position) {
    if (!(position > 0.001)) return kSilentDb;
    return double(float(40 * std::log10(position)));
}

double positionForVolume(double db) {
    if (!(db > kSilentDb)) return 0;
    return std::pow(10.0, db / 40);
}

QString percentText(double position) { return QString::asprintf("%ld%%", long(std::lround(position * 100))); }

QString volumeTip(double db) { return QString::asprintf("Volume: %.1f dB", db); }

const char* muteSymbol(double db) {
    if (!(db > kSilentDb)) return "speaker.slash.fill";
    if (db < -20) return "speaker.wave.1.fill";
    return "speaker.wave.2.fill";
}

}  // namespace volume_slider
