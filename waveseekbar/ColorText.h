#pragma once

// Colours kept as settings: six upper-case hex digits RRGGBB of sRGB; the empty
// text means "follow the system colours".

#include <QColor>

#include <optional>
#include <string>
#include <string_view>

namespace wave {

// None unless the text is exactly six hexadecimal digits (either case).
std::optional<QColor> colorFromText(std::string_view text);

// The text of a colour in sRGB, components rounded half away from zero; empty
// when the colour cannot be expressed in sRGB.
std::string colorText(const QColor& color);

}  // namespace wave
