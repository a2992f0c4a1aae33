#include "ColorText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wave {

namespace {
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::optional<QColor> colorFromText(std::string_view text) {
    if (text.size() != 6) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        value = value << 4 | unsigned(d);
    }
    return QColor::fromRgbF(float((value >> 16) & 255) / 255.0f, float((value >> 8) & 255) / 255.0f,
                            float(value & 255) / 255.0f, 1.0f);
}

std::string colorText(const QColor& color) {
    if (!color.isValid()) return {};
    const QColor rgb = color.toRgb();
    auto component = [](float f) { return int(std::lround(std::clamp(f, 0.0f, 1.0f) * 255.0f)); };
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", component(rgb.redF()), component(rgb.greenF()),
                  component(rgb.blueF()));
    return buf;
}

}  // namespace wave
