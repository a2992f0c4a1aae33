#include "ClassicSettings.h"

#include "ColumnSpec.h"
#include "SystemColors.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>
#include <cstdio>

const char* const kDefaultWindowTitle =
    "[%album artist% - ]['['%album%[ CD%discnumber%][ #%tracknumber%]'] ']%title%[ '//' %track artist%] "
    "'['quorvane']'";
const char* const kDefaultStatusLeft =
    "%codec% %bitrate%kbps %samplerate%Hz %channels% \u00A4 %playback_time%[ / %length%]";
const char* const kDefaultStatusRight = "%volume%";

cfg_var_modern::cfg_string cfg_fontName(
    GUID{0x1F6C0A93, 0x52D7, 0x4B1E, {0x86, 0x3A, 0x0D, 0xE9, 0x27, 0xB4, 0x51, 0x7C}}, "");
cfg_var_modern::cfg_int cfg_fontSize(
    GUID{0x8A43D1F0, 0x6E29, 0x4C85, {0xB7, 0x10, 0x95, 0x3E, 0x2C, 0x68, 0xA1, 0x4D}}, kDefaultFontSize);
cfg_var_modern::cfg_int cfg_rowHeight(
    GUID{0xE50B72C8, 0x0D94, 0x47A1, {0x9F, 0x5E, 0x31, 0x86, 0xC4, 0x0B, 0x7D, 0x22}}, kDefaultRowHeight);
cfg_var_modern::cfg_int cfg_theme(
    GUID{0x93C1E7A4, 0x2F58, 0x4B0D, {0x8A, 0x61, 0x5E, 0x0C, 0xB7, 0x42, 0x19, 0xD3}}, kThemeSystem);
cfg_var_modern::cfg_string cfg_accent(
    GUID{0x4E7B20D9, 0xC613, 0x4F8A, {0xB2, 0x9D, 0x70, 0x18, 0xE5, 0x3A, 0xC6, 0x4F}}, "");
cfg_var_modern::cfg_int cfg_tabClose(
    GUID{0xB83E2F61, 0x4CA9, 0x4D17, {0x95, 0x0E, 0x7A, 0x31, 0xC6, 0x0D, 0x52, 0xE8}}, 0);
cfg_var_modern::cfg_string cfg_windowTitle(
    GUID{0x2B6E91D4, 0x83F0, 0x4A5C, {0xBE, 0x17, 0x49, 0xD2, 0x0A, 0x6C, 0xF3, 0x8E}}, kDefaultWindowTitle);
cfg_var_modern::cfg_string cfg_statusLeft(
    GUID{0x4B1F8E27, 0x93A0, 0x4C5D, {0xA8, 0x61, 0x2E, 0x7D, 0x30, 0xB9, 0x14, 0xF6}}, kDefaultStatusLeft);
cfg_var_modern::cfg_string cfg_statusRight(
    GUID{0xD2836A4C, 0x0F71, 0x4E98, {0x95, 0x3B, 0x6C, 0x14, 0xE2, 0x8A, 0x57, 0x09}}, kDefaultStatusRight);
cfg_var_modern::cfg_string cfg_columns(
    GUID{0x0C7D3E51, 0x6B2A, 0x4F9E, {0x83, 0x1C, 0xA4, 0x59, 0x2E, 0xD7, 0x06, 0xBB}}, kDefaultColumnSpec);
cfg_var_modern::cfg_string cfg_groupBy(
    GUID{0x77A2C3E9, 0x1B05, 0x4D6F, {0x9C, 0x24, 0xE1, 0x5A, 0x80, 0x3D, 0x6B, 0x12}}, "none");

int fontSize() { return int(std::clamp<int64_t>(cfg_fontSize.get(), kFontSizeMin, kFontSizeMax)); }

int rowHeight() { return int(std::clamp<int64_t>(cfg_rowHeight.get(), kRowHeightMin, kRowHeightMax)); }

QFont playlistFont(bool bold) {
    // The platform's points are device-independent pixels here.
    const int size = fontSize();
    const QString family = QString::fromUtf8(cfg_fontName.get().get_ptr());
    if (!family.isEmpty() && QFontDatabase::families().contains(family)) {
        QFont font(family);
        font.setPixelSize(size);
        font.setWeight(bold ? QFont::Bold : QFont::Normal);
        return font;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(size);
    font.setWeight(bold ? QFont::DemiBold : QFont::Normal);
    return font;
}

std::optional<QColor> accentFromText(std::string_view text) {
    if (text.size() != 6) return std::nullopt;
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X")) digits.remove_prefix(2);
    unsigned value = 0;
    size_t read = 0;
    for (; read < digits.size(); ++read) {
        const char c = digits[read];
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) break;
        value = value << 4 | unsigned(d);
    }
    if (read == 0) return std::nullopt;
    return QColor::fromRgbF(float((value >> 16) & 255) / 255.0f, float((value >> 8) & 255) / 255.0f,
                            float(value & 255) / 255.0f, 1.0f);
}

std::string accentText(const QColor& color) {
    const QColor rgb = color.toRgb();
    auto component = [](float f) { return int(std::lround(std::clamp(f, 0.0f, 1.0f) * 255.0f)); };
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", component(rgb.redF()), component(rgb.greenF()),
                  component(rgb.blueF()));
    return text;
}

std::optional<QColor> customAccent() { return accentFromText(cfg_accent.get().str()); }

QColor accentColor() {
    if (const auto custom = customAccent()) return *custom;
    if (cfg_theme.get() == kThemeMonochrome) return QColor::fromRgbF(0.86f, 0.86f, 0.86f, 1.0f);
    return platform::SystemColors::accentColor();
}

void applyTheme() {
    using platform::Appearance;
    switch (cfg_theme.get()) {
        case kThemeDark:
        case kThemeMonochrome:
            platform::SystemColors::forceAppearance(Appearance::DarkAqua);
            break;
        case kThemeLight:
            platform::SystemColors::forceAppearance(Appearance::Aqua);
            break;
        default:
            platform::SystemColors::forceAppearance(std::nullopt);
    }
}
