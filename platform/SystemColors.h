#pragma once

// The named system colours of the macOS look the components are drawn in, for
// its light ("Aqua") and dark ("DarkAqua") appearance. The values are fixed
// tables, so a component looks the same on every desktop; only which appearance
// applies follows the desktop (a dark application palette means DarkAqua)
// unless one is forced.
//
// Main thread. Forcing an appearance also installs its palette as the
// application palette, so standard widgets follow and every widget receives a
// palette-change event to repaint by.

#include "platform_export.h"

#include <QColor>
#include <QPalette>
#include <QString>

#include <optional>

namespace platform {

enum class Appearance { Aqua, DarkAqua };

enum class SystemColor {
    Label,
    SecondaryLabel,
    TertiaryLabel,
    QuaternaryLabel,
    Text,
    TextBackground,
    WindowBackground,
    ControlBackground,
    Control,
    ControlText,
    Separator,
    Grid,
    ControlAccent,
    SelectedContentBackground,
    UnemphasizedSelectedContentBackground,
    SelectedTextBackground,
    AlternatingContentBackground,
};

class QOV_PLATFORM_API SystemColors {
public:
    static Appearance currentAppearance();
    // nullopt follows the desktop again and restores the palette it had.
    static void forceAppearance(std::optional<Appearance> appearance);
    static std::optional<Appearance> forcedAppearance();

    static QColor color(SystemColor which);
    static QColor color(SystemColor which, Appearance appearance);
    // By the macOS name ("labelColor", "controlAccentColor", ...); invalid when unknown.
    static QColor named(const QString& name);
    static QColor named(const QString& name, Appearance appearance);

    // controlAccentColor, the user's choice when one is set.
    static QColor accentColor();
    static QColor accentColor(Appearance appearance);
    // An invalid colour returns to the system's blue.
    static void setAccentColor(const QColor& accent);

    // A complete widget palette for the appearance.
    static QPalette palette(Appearance appearance);
};

}  // namespace platform
