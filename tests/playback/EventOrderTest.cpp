// The play_callback events the engine sends, and the state callers see while
// they arrive.

#include "PlaybackFixture.h"

namespace {

using PC = playback_control;

struct Events : PlaybackTest {};

TEST_F(Events, AWholeTrackIsStartingNewTrackTimeEverySecondThenEndOfPlaylist) {
    playlistOf({{"a", Synth{.seconds = 2.2}}});
    engine->start(PC::track_command_play, false);
    EXPECT_TRUE(engine->isPlaying());
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(log.events, (Strings{"starting 1 0", "new a", "time 1", "time 2", "stop 1"}));
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_EQ(engine->position(), 0.0);
}

TEST_F(Events, EachNextTrackFollowsAStopWithReasonTwoAndTheLocationFollows) {
    playlistOf({{"a", {}}, {"b", {}}, {"c", {}}});
    std::vector<std::string> locations;
    log.onEvent = [&](const std::string& e) {
        size_t p = 0, i = 0;
        if (e.rfind("new ", 0) == 0)
            locations.push_back(playlists->get_playing_item_location(p, i) ? std::to_string(i) : "none");
        // Told of the stop, callers already see it.
        if (e == "stop 1") locations.push_back(engine->isPlaying() ? "playing" : "stopped");
    };
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(log.withoutTime(),
              (Strings{"starting 1 0", "new a", "stop 2", "new b", "stop 2", "new c", "stop 1"}));
    EXPECT_EQ(locations, (Strings{"0", "1", "2", "stopped"}));
    size_t p = 0, i = 0;
    EXPECT_FALSE(playlists->get_playing_item_location(p, i));
}

TEST_F(Events, StartingAnotherTrackWhilePlayingAndTheUsersStop) {
    playlistOf({{"a", Synth{.seconds = 5}}, {"b", Synth{.seconds = 5}}});
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return log.withoutTime().size() == 2; }));
    engine->start(PC::track_command_next, false);
    ASSERT_TRUE(waitUntil([&] { return playing() == "b" && log.withoutTime().size() == 5; }));
    engine->stop();
    engine->stop();  // already stopped: nothing
    EXPECT_EQ(log.withoutTime(),
              (Strings{"starting 1 0", "new a", "starting 2 0", "stop 2", "new b", "stop 0"}));
}

TEST_F(Events, ShutdownStopsWithReasonThreeAndRefusesToStartAgain) {
    playlistOf({{"a", Synth{.seconds = 5}}});
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return log.withoutTime().size() == 2; }));
    engine->shutdown();
    engine->start(PC::track_command_play, false);
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_EQ(log.withoutTime(), (Strings{"starting 1 0", "new a", "stop 3"}));
}

TEST_F(Events, PauseIsAStateNotAToggleAndPlayResumesWithoutRestarting) {
    playlistOf({{"a", Synth{.seconds = 5}}});
    engine->pause(true);  // stopped: no effect
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return log.withoutTime().size() == 2; }));
    engine->pause(true);
    engine->pause(true);
    EXPECT_TRUE(engine->isPaused());
    engine->start(PC::track_command_play, false);
    EXPECT_FALSE(engine->isPaused());
    engine->stop();
    EXPECT_FALSE(engine->isPaused());
    EXPECT_EQ(log.withoutTime(), (Strings{"starting 1 0", "new a", "pause 1", "pause 0", "stop 0"}));
}

TEST_F(Events, StartingPausedHoldsTheTrackAtItsStart) {
    playlistOf({{"a", Synth{.seconds = 5}}});
    engine->start(PC::track_command_play, true);
    ASSERT_TRUE(waitUntil([&] { return log.withoutTime().size() == 2; }));
    pumpFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(engine->isPaused());
    EXPECT_EQ(engine->position(), 0.0);
    EXPECT_EQ(log.events, (Strings{"starting 1 1", "new a"}));
}

TEST_F(Events, SeekTellsTheTargetClampedToTheTrackAndIgnoresUnseekableTracks) {
    playlistOf({{"a", Synth{.seconds = 3}}, {"b", Synth{.seconds = 3, .seekable = false}}});
    engine->seek(1);  // stopped: nothing
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return engine->canSeek(); }));
    // At once, before the decoder got there; a loaded machine (a sanitized
    // build) may have played a few samples from there before the next line.
    engine->seek(1.5);
    EXPECT_NEAR(engine->position(), 1.5, 0.25);
    engine->seek(-4);
    EXPECT_NEAR(engine->position(), 0.0, 0.25);
    engine->seek(99);
    EXPECT_DOUBLE_EQ(engine->position(), 3.0);
    ASSERT_TRUE(waitUntil([&] { return playing() == "b"; }));  // the end reached by seeking moves on
    ASSERT_TRUE(waitUntil([&] { return log.events.back() == "new b"; }));
    EXPECT_FALSE(engine->canSeek());
    engine->seek(1);
    EXPECT_EQ(log.withoutTime(),
              (Strings{"starting 1 0", "new a", "seek 1.50", "seek 0.00", "seek 3.00", "stop 2", "new b"}));
}

TEST_F(Events, OnlyTheEventsACallbackAskedForAndNoneAfterItLeaves) {
    playlistOf({{"a", Synth{.seconds = 5}}});
    EventLog stops(play_callback::flag_on_playback_stop | play_callback::flag_on_playback_new_track);
    auto leaving = std::make_unique<EventLog>();
    EventLog* leavingPtr = leaving.get();
    // The first to hear of the pause unregisters the other before its turn.
    log.onEvent = [&](const std::string& e) {
        if (e == "pause 1") leaving.reset();
    };
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return stops.events.size() == 1; }));
    EXPECT_EQ(leavingPtr->events.size(), 2u);
    engine->pause(true);
    EXPECT_EQ(leaving, nullptr);
    engine->setVolume(-3);
    engine->stop();
    EXPECT_EQ(stops.events, (Strings{"new a", "stop 0"}));
    EXPECT_EQ(log.withoutTime(), (Strings{"starting 1 0", "new a", "pause 1", "volume -3.0", "stop 0"}));
}

}  // namespace
