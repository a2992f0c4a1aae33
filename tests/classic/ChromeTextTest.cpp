// What the toolbar and the status bar show, before any widget: the volume
// slider's mapping and labels, and the status texts' volume and stopped rules.

#include "Printers.h"
#include "StatusText.h"
#include "VolumeSlider.h"

#include <gtest/gtest.h>

namespace {

using namespace volume_slider;

TEST(VolumeSlider, PositionAndVolumeMeetAtTheMarksThePlayerShows) {
    struct Case {
        double position;
        double volume;
        const char* percent;
        const char* symbol;
    };
    const Case cases[] = {
        {1.0, 0.0, "100%", "speaker.wave.2.fill"},      {0.5, -12.0412, "50%", "speaker.wave.2.fill"},
        {0.25, -24.0824, "25%", "speaker.wave.1.fill"}, {0.1, -40.0, "10%", "speaker.wave.1.fill"},
        {0.0, kSilentDb, "0%", "speaker.slash.fill"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_NEAR(volumeForPosition(c.position), c.volume, 1e-3);
        EXPECT_NEAR(positionForVolume(c.volume), c.position, 1e-6);
        EXPECT_EQ(percentText(c.position), QString::fromLatin1(c.percent));
        EXPECT_STREQ(muteSymbol(volumeForPosition(c.position)), c.symbol);
    }
}

TEST(VolumeSlider, TheBottomOfTheSliderAndBelowSilenceAreTheSameEnd) {
    // Up to a thousandth of the slider is silence, not -120 dB.
    EXPECT_EQ(volumeForPosition(0.001), kSilentDb);
    EXPECT_NEAR(volumeForPosition(0.0011), -118.3, 0.1);  // the player clamps it
    EXPECT_EQ(volumeForPosition(-0.5), kSilentDb);
    EXPECT_EQ(positionForVolume(-100), 0);
    EXPECT_EQ(positionForVolume(-250), 0);
    EXPECT_GT(positionForVolume(-99.9), 0);
}

TEST(VolumeSlider, AVolumeSetElsewhereMovesTheSliderAndItsLabels) {
    // -30 dB from the player's own menu.
    EXPECT_NEAR(positionForVolume(-30), 0.1778, 1e-4);
    EXPECT_EQ(percentText(positionForVolume(-30)), QStringLiteral("18%"));
    EXPECT_STREQ(muteSymbol(-30), "speaker.wave.1.fill");
    EXPECT_STREQ(muteSymbol(-20), "speaker.wave.2.fill");
    EXPECT_STREQ(muteSymbol(-20.01), "speaker.wave.1.fill");
    EXPECT_STREQ(muteSymbol(-100), "speaker.slash.fill");
    // Halves round away from zero: the label is the position, not a loudness.
    EXPECT_EQ(percentText(0.005), QStringLiteral("1%"));
    EXPECT_EQ(percentText(0.125), QStringLiteral("13%"));
    EXPECT_EQ(volumeTip(volumeForPosition(0.5)), QStringLiteral("Volume: -12.0 dB"));
    EXPECT_EQ(volumeTip(0), QStringLiteral("Volume: 0.0 dB"));
}

TEST(StatusText, TheVolumeIsTwoDecimalsAndDecibelsWithoutASpace) {
    EXPECT_EQ(status_text::volumeText(0.0f), "0.00dB");
    EXPECT_EQ(status_text::volumeText(-12.0f), "-12.00dB");
    EXPECT_EQ(status_text::volumeText(-100.0f), "-100.00dB");
    EXPECT_EQ(status_text::volumeText(-0.001f), "0.00dB");
}

TEST(StatusText, VolumeFieldsBecomeLiteralTextBeforeFormatting) {
    using status_text::withVolume;
    EXPECT_EQ(withVolume("%volume%", "-3.00dB"), "-3.00dB");
    EXPECT_EQ(withVolume("[%volume%] vol %volume%%", "0.00dB"), "[0.00dB] vol 0.00dB%");
    EXPECT_EQ(withVolume("%volume", "0.00dB"), "%volume");
    EXPECT_EQ(withVolume("%VOLUME%", "0.00dB"), "%VOLUME%");
    EXPECT_EQ(withVolume("", "0.00dB"), "");
}

TEST(StatusText, WhileStoppedOnlyABareVolumePatternShowsAnything) {
    using status_text::stoppedText;
    EXPECT_EQ(stoppedText("%volume%", "0.00dB"), "0.00dB");
    EXPECT_EQ(stoppedText("Vol: %volume%", "0.00dB"), "");
    EXPECT_EQ(stoppedText("%volume% ", "0.00dB"), "");
    EXPECT_EQ(stoppedText("%codec%", "0.00dB"), "");
    EXPECT_EQ(stoppedText("", "0.00dB"), "");
}

}  // namespace
