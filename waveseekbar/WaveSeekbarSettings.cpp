#include "WaveSeekbarSettings.h"

#include "ColorText.h"

cfg_var_modern::cfg_string cfg_colorPlayed(
    GUID{0x6D2A91C4, 0x38E7, 0x4F10, {0xB5, 0x6C, 0x0A, 0x93, 0xD1, 0x47, 0xE2, 0x58}}, "");
cfg_var_modern::cfg_string cfg_colorRest(
    GUID{0xA47F0E3B, 0x91C2, 0x4D65, {0x8E, 0x09, 0x5B, 0x2C, 0x76, 0xF1, 0x30, 0xAD}}, "");

std::optional<QColor> colorFromCfg(cfg_var_modern::cfg_string& setting) {
    return wave::colorFromText(setting.get().str());
}
