#include "SeekbarPalette.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

namespace wave {
namespace {

using platform::Appearance;
using platform::SystemColor;
using platform::SystemColors;

struct Expected {
    SeekbarRole role;
    QColor color;  // its alpha is the one expected
};

QColor alpha(QColor c, float a) {
    c.setAlphaF(a);
    return c;
}

void expectPalette(const SeekbarPalette& palette, std::initializer_list<Expected> expected) {
    for (const Expected& e : expected) {
        const QColor c = palette.color(e.role);
        SCOPED_TRACE(int(e.role));
        EXPECT_EQ(c.rgb(), e.color.rgb());
        EXPECT_NEAR(c.alphaF(), e.color.alphaF(), 0.002);
    }
}

TEST(SeekbarPalette, PeakLayersAreTranslucentOverOpaqueRmsLayers) {
    testApplication();
    const QColor red(255, 0, 0), blue(0, 0, 255);
    for (Appearance a : {Appearance::Aqua, Appearance::DarkAqua}) {
        SCOPED_TRACE(int(a));
        auto system = [a](SystemColor c) { return SystemColors::color(c, a); };
        const QColor label = system(SystemColor::Label);
        expectPalette(SeekbarPalette(red, blue, a), {
                                                        {SeekbarRole::PlayedPeak, alpha(red, 0.55f)},
                                                        {SeekbarRole::PlayedRms, red},
                                                        {SeekbarRole::RestPeak, alpha(blue, 0.45f)},
                                                        {SeekbarRole::RestRms, blue},
                                                    });
        expectPalette(SeekbarPalette(std::nullopt, std::nullopt, a),
                      {
                          {SeekbarRole::Background, system(SystemColor::ControlBackground)},
                          {SeekbarRole::PlayedPeak, alpha(SystemColors::accentColor(a), 0.55f)},
                          {SeekbarRole::PlayedRms, SystemColors::accentColor(a)},
                          {SeekbarRole::RestPeak, system(SystemColor::TertiaryLabel)},
                          {SeekbarRole::RestRms, system(SystemColor::SecondaryLabel)},
                          {SeekbarRole::PositionLine, label},
                          {SeekbarRole::HoverLine, alpha(label, 0.4f)},
                          {SeekbarRole::LabelBox, alpha(label, 0.85f)},
                          {SeekbarRole::LabelText, system(SystemColor::TextBackground)},
                          {SeekbarRole::SideText, system(SystemColor::SecondaryLabel)},
                      });
    }
}

}  // namespace
}  // namespace wave
