#include "SystemColors.h"

#include "TestApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

using platform::Appearance;
using platform::SystemColor;
using platform::SystemColors;

namespace {

// WCAG contrast ratio of two opaque colours.
qreal contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto lin = [](qreal v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    const qreal la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

class SystemColorsTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
    void TearDown() override {
        SystemColors::forceAppearance(std::nullopt);
        SystemColors::setAccentColor(QColor());
    }
};

}  // namespace

TEST_F(SystemColorsTest, EveryNameTheComponentsUseExistsInBothAppearances) {
    for (const char* name : {"labelColor", "secondaryLabelColor", "tertiaryLabelColor",
                             "quaternaryLabelColor", "controlBackgroundColor", "controlAccentColor",
                             "textBackgroundColor", "windowBackgroundColor", "separatorColor"})
        for (Appearance a : {Appearance::Aqua, Appearance::DarkAqua})
            EXPECT_TRUE(SystemColors::named(name, a).isValid()) << name;
    EXPECT_FALSE(SystemColors::named("labelColour", Appearance::Aqua).isValid());
}

TEST_F(SystemColorsTest, TextReadsWellOnItsBackgroundInBothAppearances) {
    for (Appearance a : {Appearance::Aqua, Appearance::DarkAqua}) {
        const QPalette p = SystemColors::palette(a);
        EXPECT_GT(contrast(p.color(QPalette::Text), p.color(QPalette::Base)), 7.0);
        EXPECT_GT(contrast(p.color(QPalette::WindowText), p.color(QPalette::Window)), 7.0);
        EXPECT_GT(contrast(p.color(QPalette::HighlightedText), p.color(QPalette::Highlight)), 4.5);
        EXPECT_EQ(p.color(QPalette::Window).lightness() < 128, a == Appearance::DarkAqua);
        // Secondary text is quieter than primary, but still legible.
        const int secondary = SystemColors::color(SystemColor::SecondaryLabel, a).alpha();
        EXPECT_LT(secondary, SystemColors::color(SystemColor::Label, a).alpha());
        EXPECT_GT(secondary, 100);
    }
}

TEST_F(SystemColorsTest, ForcingAnAppearanceRepaintsTheAppAndReleasingRestoresIt) {
    const QColor desktopWindow = QApplication::palette().color(QPalette::Window);
    const Appearance desktop = SystemColors::currentAppearance();
    const Appearance other = desktop == Appearance::Aqua ? Appearance::DarkAqua : Appearance::Aqua;

    SystemColors::forceAppearance(other);
    EXPECT_EQ(SystemColors::currentAppearance(), other);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              SystemColors::color(SystemColor::WindowBackground, other));
    EXPECT_EQ(SystemColors::color(SystemColor::Label),
              SystemColors::color(SystemColor::Label, other));

    // Forcing twice must not take the first forced palette for the desktop's.
    SystemColors::forceAppearance(desktop);
    SystemColors::forceAppearance(std::nullopt);
    EXPECT_EQ(SystemColors::forcedAppearance(), std::nullopt);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), desktopWindow);
    EXPECT_EQ(SystemColors::currentAppearance(), desktop);
}

TEST_F(SystemColorsTest, FollowsTheDesktopPaletteWhenNotForced) {
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(40, 40, 40), QColor(30, 30, 30)));
    EXPECT_EQ(SystemColors::currentAppearance(), Appearance::DarkAqua);
    QApplication::setPalette(QPalette(QColor(240, 240, 240), QColor(236, 236, 236)));
    EXPECT_EQ(SystemColors::currentAppearance(), Appearance::Aqua);
    QApplication::setPalette(saved);
}

TEST_F(SystemColorsTest, ChosenAccentLeadsTheSelectionColours) {
    const QColor blue = SystemColors::accentColor(Appearance::Aqua);
    EXPECT_EQ(blue, QColor(0x00, 0x7A, 0xFF));
    const QColor orange(0xF2, 0x8C, 0x21);
    SystemColors::setAccentColor(orange);
    for (Appearance a : {Appearance::Aqua, Appearance::DarkAqua}) {
        EXPECT_EQ(SystemColors::accentColor(a), orange);
        const QColor selection = SystemColors::color(SystemColor::SelectedContentBackground, a);
        EXPECT_EQ(selection.hsvHue(), orange.hsvHue());
        EXPECT_LT(selection.value(), orange.value());
    }
    SystemColors::setAccentColor(QColor());
    EXPECT_EQ(SystemColors::accentColor(Appearance::Aqua), blue);
}
