#include "SystemColors.h"

#include <QApplication>
#include <QGuiApplication>

#include <array>

namespace platform {

namespace {

struct Entry {
    SystemColor which;
    const char* name;
    QRgb aqua;
    QRgb darkAqua;
};

constexpr QRgb argb(int a, QRgb rgb) {
    return qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), a);
}

// macOS's values; the translucent ones stay translucent, they are meant to be
// drawn over whatever background they sit on.
const std::array<Entry, 17> kColors{{
    {SystemColor::Label, "labelColor", argb(216, 0x000000), argb(216, 0xFFFFFF)},
    {SystemColor::SecondaryLabel, "secondaryLabelColor", argb(128, 0x000000), argb(140, 0xFFFFFF)},
    {SystemColor::TertiaryLabel, "tertiaryLabelColor", argb(66, 0x000000), argb(64, 0xFFFFFF)},
    {SystemColor::QuaternaryLabel, "quaternaryLabelColor", argb(25, 0x000000), argb(25, 0xFFFFFF)},
    {SystemColor::Text, "textColor", argb(255, 0x000000), argb(255, 0xFFFFFF)},
    {SystemColor::TextBackground, "textBackgroundColor", argb(255, 0xFFFFFF), argb(255, 0x1E1E1E)},
    {SystemColor::WindowBackground, "windowBackgroundColor", argb(255, 0xECECEC),
     argb(255, 0x323232)},
    {SystemColor::ControlBackground, "controlBackgroundColor", argb(255, 0xFFFFFF),
     argb(255, 0x1E1E1E)},
    {SystemColor::Control, "controlColor", argb(255, 0xFFFFFF), argb(64, 0xFFFFFF)},
    {SystemColor::ControlText, "controlTextColor", argb(216, 0x000000), argb(216, 0xFFFFFF)},
    {SystemColor::Separator, "separatorColor", argb(26, 0x000000), argb(25, 0xFFFFFF)},
    {SystemColor::Grid, "gridColor", argb(255, 0xE6E6E6), argb(255, 0x1A1A1A)},
    {SystemColor::ControlAccent, "controlAccentColor", argb(255, 0x007AFF), argb(255, 0x0A84FF)},
    {SystemColor::SelectedContentBackground, "selectedContentBackgroundColor", argb(255, 0x0063E1),
     argb(255, 0x0058D0)},
    {SystemColor::UnemphasizedSelectedContentBackground,
     "unemphasizedSelectedContentBackgroundColor", argb(255, 0xDCDCDC), argb(255, 0x464646)},
    {SystemColor::SelectedTextBackground, "selectedTextBackgroundColor", argb(255, 0xB3D7FF),
     argb(255, 0x3F638B)},
    {SystemColor::AlternatingContentBackground, "alternatingContentBackgroundColor",
     argb(255, 0xF4F5F5), argb(13, 0xFFFFFF)},
}};

std::optional<Appearance> g_forced;
std::optional<QPalette> g_desktopPalette;  // the palette forcing replaced
QColor g_accent;                           // the user's accent; invalid = system blue

const Entry* find(SystemColor which) {
    for (const Entry& e : kColors)
        if (e.which == which) return &e;
    return nullptr;
}

// The colour as it shows over an opaque background; palettes want opaque roles.
QColor over(const QColor& color, const QColor& background) {
    const qreal a = color.alphaF();
    return QColor::fromRgbF(color.redF() * a + background.redF() * (1 - a),
                            color.greenF() * a + background.greenF() * (1 - a),
                            color.blueF() * a + background.blueF() * (1 - a));
}

QColor withValueScaled(const QColor& color, qreal factor) {
    const QColor hsv = color.toHsv();
    return QColor::fromHsvF(hsv.hsvHueF(), hsv.hsvSaturationF(),
                            qBound(0.0, hsv.valueF() * factor, 1.0), hsv.alphaF());
}

void installPalette(const QPalette& palette) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setPalette(palette);
    else if (qGuiApp)
        QGuiApplication::setPalette(palette);
}

}  // namespace

Appearance SystemColors::currentAppearance() {
    if (g_forced) return *g_forced;
    if (!qGuiApp) return Appearance::Aqua;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128
               ? Appearance::DarkAqua
               : Appearance::Aqua;
}

std::optional<Appearance> SystemColors::forcedAppearance() {
    return g_forced;
}

void SystemColors::forceAppearance(std::optional<Appearance> appearance) {
    if (appearance) {
        if (!g_desktopPalette && qGuiApp) g_desktopPalette = QGuiApplication::palette();
        g_forced = appearance;
        if (qGuiApp) installPalette(palette(*appearance));
        return;
    }
    g_forced.reset();
    if (g_desktopPalette) {
        installPalette(*g_desktopPalette);
        g_desktopPalette.reset();
    }
}

QColor SystemColors::color(SystemColor which) {
    return color(which, currentAppearance());
}

QColor SystemColors::color(SystemColor which, Appearance appearance) {
    const bool dark = appearance == Appearance::DarkAqua;
    if (g_accent.isValid()) {
        // macOS derives the selection colours from the chosen accent.
        switch (which) {
        case SystemColor::ControlAccent:
            return g_accent;
        case SystemColor::SelectedContentBackground:
            return withValueScaled(g_accent, dark ? 0.82 : 0.88);
        case SystemColor::SelectedTextBackground:
            return over(QColor::fromRgbF(g_accent.redF(), g_accent.greenF(), g_accent.blueF(),
                                         dark ? 0.45 : 0.3),
                        color(SystemColor::TextBackground, appearance));
        default:
            break;
        }
    }
    const Entry* e = find(which);
    if (!e) return {};
    return QColor::fromRgba(dark ? e->darkAqua : e->aqua);
}

QColor SystemColors::named(const QString& name) {
    return named(name, currentAppearance());
}

QColor SystemColors::named(const QString& name, Appearance appearance) {
    for (const Entry& e : kColors)
        if (name == QLatin1String(e.name)) return color(e.which, appearance);
    return {};
}

QColor SystemColors::accentColor() {
    return color(SystemColor::ControlAccent);
}

QColor SystemColors::accentColor(Appearance appearance) {
    return color(SystemColor::ControlAccent, appearance);
}

void SystemColors::setAccentColor(const QColor& accent) {
    g_accent = accent.isValid() ? accent.toRgb() : QColor();
    if (g_forced && qGuiApp) installPalette(palette(*g_forced));
}

QPalette SystemColors::palette(Appearance appearance) {
    const auto c = [appearance](SystemColor which) { return color(which, appearance); };
    const bool dark = appearance == Appearance::DarkAqua;
    const QColor window = c(SystemColor::WindowBackground);
    const QColor base = c(SystemColor::TextBackground);
    const QColor button = over(c(SystemColor::Control), window);

    // Starts from Qt's derivation for the bevel shades, then sets every role we know.
    QPalette p(button, window);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, over(c(SystemColor::Label), window));
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, over(c(SystemColor::AlternatingContentBackground), base));
    p.setColor(QPalette::Text, over(c(SystemColor::Label), base));
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, over(c(SystemColor::ControlText), button));
    p.setColor(QPalette::BrightText, dark ? Qt::black : Qt::white);
    p.setColor(QPalette::Highlight, c(SystemColor::SelectedContentBackground));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, over(c(SystemColor::TertiaryLabel), base));
    p.setColor(QPalette::Link, dark ? QColor(0x41, 0x9C, 0xFF) : QColor(0x00, 0x68, 0xDA));
    p.setColor(QPalette::LinkVisited, dark ? QColor(0xB0, 0x8C, 0xFF) : QColor(0x80, 0x4F, 0xC8));
    p.setColor(QPalette::ToolTipBase, dark ? QColor(0x3C, 0x3C, 0x3C) : QColor(0xF7, 0xF7, 0xF7));
    p.setColor(QPalette::ToolTipText, over(c(SystemColor::Label), p.color(QPalette::ToolTipBase)));

    p.setColor(QPalette::Inactive, QPalette::Highlight,
               c(SystemColor::UnemphasizedSelectedContentBackground));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, over(c(SystemColor::Label), base));
    const QColor disabled = over(c(SystemColor::TertiaryLabel), window);
    p.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    p.setColor(QPalette::Disabled, QPalette::Text, over(c(SystemColor::TertiaryLabel), base));
    p.setColor(QPalette::Disabled, QPalette::ButtonText,
               over(c(SystemColor::TertiaryLabel), button));
    p.setColor(QPalette::Disabled, QPalette::Highlight,
               c(SystemColor::UnemphasizedSelectedContentBackground));
    return p;
}

}  // namespace platform
