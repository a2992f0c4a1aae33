// Volume in decibels, the mute, their effect on the samples and their persistence.

#include "PlaybackFixture.h"
#include "Volume.h"

#include <cmath>

namespace {

using PC = playback_control;
using playback::Volume;

TEST(VolumeModel, ClampsStepsAndMapsDecibelsToGain) {
    Volume v;
    EXPECT_EQ(v.db(), 0.0f);
    EXPECT_EQ(v.gain(), 1.0f);
    v.up();
    EXPECT_EQ(v.db(), 0.0f);
    v.down();
    EXPECT_EQ(v.db(), -1.0f);
    v.set(-6.0206f);
    EXPECT_NEAR(v.gain(), 0.5f, 1e-4);
    v.set(-250);
    EXPECT_EQ(v.db(), Volume::kSilent);
    EXPECT_EQ(v.gain(), 0.0f);
    v.set(12);
    EXPECT_EQ(v.db(), 0.0f);
    v.set(std::nanf(""));
    EXPECT_EQ(v.db(), 0.0f);
}

TEST(VolumeModel, MuteRemembersTheLevelAndASilentSliderUnmutesToTheLastAudible) {
    Volume v;
    v.set(-12);
    v.toggleMute();
    EXPECT_TRUE(v.muted());
    EXPECT_EQ(v.db(), Volume::kSilent);
    EXPECT_EQ(v.gain(), 0.0f);
    v.down();  // stays muted
    EXPECT_EQ(v.db(), Volume::kSilent);
    v.up();  // back to where it was, not louder
    EXPECT_EQ(v.db(), -12.0f);
    v.toggleMute();
    v.toggleMute();
    EXPECT_EQ(v.db(), -12.0f);
    v.toggleMute();
    v.set(-20);  // setting ends the mute
    EXPECT_FALSE(v.muted());
    v.set(-100);  // the slider at the bottom: the speaker button brings sound back
    v.toggleMute();
    EXPECT_EQ(v.db(), -20.0f);
}

struct Volumes : PlaybackTest {
    // The samples of the last `count` captured, all of them equal.
    void expectPlaysAt(float expected) {
        capture.clear();
        ASSERT_TRUE(waitUntil([&] { return capture.samples().size() > 2000; }));
        const auto s = capture.samples();
        for (size_t i = s.size() - 1000; i < s.size(); ++i) ASSERT_EQ(s[i], expected) << i;
    }
};

TEST_F(Volumes, GainIsAppliedToTheSamplesAndMuteIsExactSilence) {
    playlistOf({{"a", Synth{.seconds = 10, .value = 0.5f}}});
    engine->start(PC::track_command_play, false);
    expectPlaysAt(0.5f);
    engine->setVolume(-6.0206f);
    // The buffered audio takes the new gain too: wait past the device's buffer.
    pumpFor(std::chrono::milliseconds(250));
    expectPlaysAt(0.5f * std::pow(10.0f, -6.0206f / 20.0f));
    engine->toggleMute();
    pumpFor(std::chrono::milliseconds(250));
    expectPlaysAt(0.0f);
    engine->toggleMute();
    EXPECT_NEAR(engine->volume(), -6.0206f, 1e-4);
    engine->stop();
    EXPECT_EQ(log.withoutTime(),
              (Strings{"starting 1 0", "new a", "volume -6.0", "volume -100.0", "volume -6.0", "stop 0"}));
}

TEST_F(Volumes, OnlyChangesAreAnnounced) {
    engine->setVolume(0);
    engine->volumeUp();
    engine->volumeDown();
    engine->volumeDown();
    engine->setVolume(-2);
    EXPECT_EQ(log.events, (Strings{"volume -1.0", "volume -2.0"}));
}

TEST_F(Volumes, LevelAndMuteSurviveARestart) {
    engine->setVolume(-7.5f);
    engine->toggleMute();
    engine.reset();  // saves what is pending
    playback::PlaybackEngine again;
    EXPECT_EQ(again.volume(), Volume::kSilent);
    again.toggleMute();
    EXPECT_EQ(again.volume(), -7.5f);
}

}  // namespace
