#pragma once

// Every persistent setting of the Classic UI, and the helpers that turn them
// into the playlist font, the accent colour and the application's appearance.
// Settings are safe from any thread; the helpers run on the main thread.

#include "cfg_var.h"

#include <QColor>
#include <QFont>

#include <optional>
#include <string>
#include <string_view>

extern cfg_var_modern::cfg_string cfg_fontName;  // empty: the system font
extern cfg_var_modern::cfg_int cfg_fontSize;
extern cfg_var_modern::cfg_int cfg_rowHeight;
extern cfg_var_modern::cfg_int cfg_theme;
extern cfg_var_modern::cfg_string cfg_accent;  // RRGGBB; empty: none
extern cfg_var_modern::cfg_int cfg_tabClose;
extern cfg_var_modern::cfg_string cfg_windowTitle;
extern cfg_var_modern::cfg_string cfg_statusLeft;
extern cfg_var_modern::cfg_string cfg_statusRight;
extern cfg_var_modern::cfg_string cfg_columns;
extern cfg_var_modern::cfg_string cfg_groupBy;

enum ClassicTheme : int { kThemeSystem = 0, kThemeLight = 1, kThemeDark = 2, kThemeMonochrome = 3 };

inline constexpr int kDefaultFontSize = 12, kFontSizeMin = 8, kFontSizeMax = 32;
inline constexpr int kDefaultRowHeight = 18, kRowHeightMin = 12, kRowHeightMax = 48;

extern const char* const kDefaultWindowTitle;
extern const char* const kDefaultStatusLeft;
extern const char* const kDefaultStatusRight;

// The stored values clamped to what the playlist uses.
int fontSize();
int rowHeight();

QFont playlistFont(bool bold);

// The colour of an accent text: six characters that read as a hexadecimal
// number from their start; none otherwise.
std::optional<QColor> accentFromText(std::string_view text);
// "RRGGBB" of the colour in sRGB, each component rounded half away from zero.
std::string accentText(const QColor& color);

std::optional<QColor> customAccent();
QColor accentColor();
void applyTheme();
