// The position is what has been heard, on the output's clock: it moves in
// real time, holds while paused, and jumps on a seek.

#include "PlaybackFixture.h"
#include "PlayedTracker.h"

#include <QElapsedTimer>

namespace {

using PC = playback_control;
using namespace std::chrono_literals;

struct Clock : PlaybackTest {};

TEST_F(Clock, PositionFollowsRealTimeNotTheDecoderAndHoldsWhilePaused) {
    playlistOf({{"a", Synth{.seconds = 10}}});
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return engine->position() > 0; }));
    // The decoder is half a second ahead by now; the position is not.
    EXPECT_LT(engine->position(), 0.15);

    QElapsedTimer timer;
    timer.start();
    const double from = engine->position();
    pumpFor(600ms);
    const double moved = engine->position() - from;
    EXPECT_NEAR(moved, timer.elapsed() / 1000.0, 0.08);

    engine->pause(true);
    pumpFor(150ms);  // what the device held drains
    const double held = engine->position();
    pumpFor(400ms);
    EXPECT_DOUBLE_EQ(engine->position(), held);

    engine->pause(false);
    pumpFor(300ms);
    EXPECT_NEAR(engine->position() - held, 0.3, 0.08);
}

TEST_F(Clock, AfterASeekTheClockRunsOnFromTheTarget) {
    playlistOf({{"a", Synth{.seconds = 10}}});
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return engine->canSeek(); }));
    engine->seek(6);
    pumpFor(500ms);
    EXPECT_NEAR(engine->position(), 6.5, 0.1);
    EXPECT_EQ(engine->length(), 10.0);
}

TEST_F(Clock, TheTrackEndsWhenItsLastSampleIsHeard) {
    playlistOf({{"a", Synth{.seconds = 0.8}}});
    QElapsedTimer timer;
    timer.start();
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_NEAR(timer.elapsed() / 1000.0, 0.8, 0.15);
}

TEST(PlayedTracker, HalfTheTrackOrFourMinutesHeardCountsOnce) {
    playback::PlayedTracker shortTrack(60);
    for (double t = 0.05; t < 29.9; t += 0.05) EXPECT_FALSE(shortTrack.update(t));
    EXPECT_TRUE(shortTrack.update(30.0));
    EXPECT_FALSE(shortTrack.update(30.1));

    playback::PlayedTracker longTrack(3600);
    bool played = false;
    for (double t = 0.5; t <= 240.0; t += 0.5) played = longTrack.update(t);
    EXPECT_TRUE(played);

    playback::PlayedTracker unknown(0);
    EXPECT_FALSE(unknown.update(1));
    EXPECT_NEAR(unknown.heard(), 1.0, 1e-9);
}

TEST(PlayedTracker, SkippingAheadIsNotListening) {
    playback::PlayedTracker t(100);
    t.update(1);
    t.jumped(45);
    EXPECT_FALSE(t.update(46));
    EXPECT_FALSE(t.update(90));  // a jump the engine did not report
    EXPECT_NEAR(t.heard(), 2.0, 1e-9);
}

TEST_F(Clock, APlayedTrackIsReportedOnceToTheStatistics) {
    playlistOf({{"a", Synth{.seconds = 1.0}}, {"b", Synth{.seconds = 2.0}}});
    std::vector<std::string> reported;
    engine->setTrackPlayedHandler(
        [&](const service_ptr_t<metadb_handle>& t) { reported.push_back(t->get_path()); });
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return playing() == "b"; }));
    EXPECT_EQ(reported, (Strings{"file:///synth/a"}));
    ASSERT_TRUE(waitUntil([&] { return engine->position() > 0.5; }));
    engine->stop();  // b stopped before half of it was heard
    EXPECT_EQ(reported.size(), 1u);
}

}  // namespace
