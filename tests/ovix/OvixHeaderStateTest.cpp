#include "OvixHeaderState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

OvixPlayerSnapshot playing(double position, double length) {
    OvixPlayerSnapshot s;
    s.hasTrack = true;
    s.title = QStringLiteral("Song");
    s.position = position;
    s.length = length;
    return s;
}

TEST(HeaderDisplay, StoppedShowsThePlayersNameAndNothingElse) {
    const OvixHeaderDisplay d = headerDisplay(OvixPlayerSnapshot{});
    EXPECT_EQ(d.title, QStringLiteral("quorvane"));
    EXPECT_TRUE(d.artist.isEmpty() && d.album.isEmpty() && d.tech.isEmpty() && d.time.isEmpty());
    EXPECT_FALSE(d.playHighlighted);
    EXPECT_FALSE(d.pauseHighlighted);
}

TEST(HeaderDisplay, TimeIsPositionOverLengthOrDashesWhenUnknown) {
    EXPECT_EQ(headerDisplay(playing(62.6, 185)).time, QStringLiteral("1:03 / 3:05"));
    EXPECT_EQ(headerDisplay(playing(75, 0)).time, QStringLiteral("1:15 / --:--"));
    EXPECT_EQ(headerDisplay(playing(3700, 7200)).time, QStringLiteral("1:01:40 / 2:00:00"));
}

TEST(HeaderDisplay, PlayStandsOutWhilePlayingAndPauseWhilePaused) {
    OvixPlayerSnapshot s = playing(1, 2);
    EXPECT_TRUE(headerDisplay(s).playHighlighted);
    EXPECT_FALSE(headerDisplay(s).pauseHighlighted);
    s.paused = true;
    EXPECT_FALSE(headerDisplay(s).playHighlighted);
    EXPECT_TRUE(headerDisplay(s).pauseHighlighted);
}

TEST(HeaderDisplay, SliderFollowsTheVolumeAndSilenceCrossesTheSpeaker) {
    const struct {
        float db;
        double slider;
        bool muted;
    } cases[] = {{0, 1, false},   {-12.0412f, 0.5, false}, {-40, 0.1, false}, {-99.9f, 0.00316, false},
                 {-100, 0, true}, {-250, 0, true},         {6, 1, false}};
    for (const auto& c : cases) {
        OvixPlayerSnapshot s;
        s.volume = c.db;
        const OvixHeaderDisplay d = headerDisplay(s);
        EXPECT_NEAR(d.slider, c.slider, 1e-4) << c.db;
        EXPECT_EQ(d.muted, c.muted) << c.db;
    }
    OvixPlayerSnapshot broken;
    broken.volume = std::nanf("");
    EXPECT_EQ(headerDisplay(broken).slider, 0);
}

TEST(HeaderDisplay, TogglesStandOutOnlyForAnOrderTheHostOffers) {
    OvixPlayerSnapshot s;
    s.activeOrder = 4;
    s.shuffleOrder = 4;
    s.repeatOrder = 1;
    EXPECT_TRUE(headerDisplay(s).shuffleOn);
    EXPECT_FALSE(headerDisplay(s).repeatOn);
    s.activeOrder = SIZE_MAX;
    s.shuffleOrder = SIZE_MAX;
    EXPECT_FALSE(headerDisplay(s).shuffleOn);
}

TEST(VolumeForSlider, InvertsTheDisplayAndSilencesTheBottom) {
    EXPECT_NEAR(volumeForSlider(0.5), -12.0412, 1e-3);
    EXPECT_FLOAT_EQ(volumeForSlider(0.1), -40);
    EXPECT_FLOAT_EQ(volumeForSlider(1), 0);
    EXPECT_FLOAT_EQ(volumeForSlider(0.001), -100);
    EXPECT_FLOAT_EQ(volumeForSlider(0), -100);
    for (double v : {0.01, 0.3, 0.77}) {
        OvixPlayerSnapshot s;
        s.volume = volumeForSlider(v);
        EXPECT_NEAR(headerDisplay(s).slider, v, 1e-6);
    }
}

TEST(MatchOrder, FirstNameEqualIgnoringAsciiCase) {
    const std::vector<const char*> names{"Default", "Repeat (playlist)", nullptr, "Shuffle (tracks)",
                                         "SHUFFLE (TRACKS)"};
    auto at = [&](size_t i) { return names[i]; };
    EXPECT_EQ(matchOrder(names.size(), at, "shuffle (Tracks)"), 3u);
    EXPECT_EQ(matchOrder(names.size(), at, "Repeat (playlist)"), 1u);
    EXPECT_EQ(matchOrder(names.size(), at, "Repeat"), SIZE_MAX);
    EXPECT_EQ(matchOrder(names.size(), at, "Default "), SIZE_MAX);
    EXPECT_EQ(matchOrder(names.size(), at, nullptr), SIZE_MAX);
    EXPECT_EQ(matchOrder(0, at, "Default"), SIZE_MAX);
}

TEST(ToggledOrder, SecondPressGoesToTheFirstOrderNotTheOneBefore) {
    size_t active = 1;  // repeat
    active = toggledOrder(active, 4);
    EXPECT_EQ(active, 4u);
    active = toggledOrder(active, 4);
    EXPECT_EQ(active, 0u);
    EXPECT_EQ(toggledOrder(2, SIZE_MAX), 2u);
}

}  // namespace
