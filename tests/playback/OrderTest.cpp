// Playback orders, the queue and the transport commands, end to end through
// the real playlist manager.

#include "PlaybackFixture.h"

#include <algorithm>
#include <set>

namespace {

using PC = playback_control;

struct Orders : PlaybackTest {
    // The names of the tracks announced, in order.
    Strings played() const {
        Strings out;
        for (const auto& e : log.events)
            if (e.rfind("new ", 0) == 0) out.push_back(e.substr(4));
        return out;
    }
    void setOrder(const char* name) {
        for (size_t i = 0; i < playlists->playback_order_get_count(); ++i)
            if (std::string(playlists->playback_order_get_name(i)) == name)
                return playlists->playback_order_set_active(i);
        FAIL() << "no order " << name;
    }
    bool waitPlayed(size_t count) {
        return waitUntil([&] { return played().size() >= count; }, std::chrono::seconds(8));
    }
    void abc(double seconds = 0.2) {
        playlistOf({{"a", Synth{.seconds = seconds}},
                    {"b", Synth{.seconds = seconds}},
                    {"c", Synth{.seconds = seconds}}});
    }
};

TEST_F(Orders, DefaultPlaysThroughOnceAndStopsAtTheEnd) {
    abc();
    setOrder("Default");
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(played(), (Strings{"a", "b", "c"}));
    EXPECT_EQ(log.events.back(), "stop 1");
}

TEST_F(Orders, RepeatPlaylistWrapsAround) {
    abc();
    setOrder("Repeat (playlist)");
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitPlayed(5));
    engine->stop();
    const Strings p = played();
    EXPECT_EQ(Strings(p.begin(), p.begin() + 5), (Strings{"a", "b", "c", "a", "b"}));
}

TEST_F(Orders, RepeatTrackPlaysTheSameTrackButNextMovesOn) {
    abc();
    setOrder("Repeat (track)");
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitPlayed(3));
    engine->start(PC::track_command_next, false);
    ASSERT_TRUE(waitPlayed(4));
    engine->stop();
    const Strings p = played();
    EXPECT_EQ(Strings(p.begin(), p.begin() + 4), (Strings{"a", "a", "a", "b"}));
}

TEST_F(Orders, ShuffleTracksPlaysEveryTrackOnceARound) {
    abc();
    setOrder("Shuffle (tracks)");
    engine->start(PC::track_command_next, false);
    ASSERT_TRUE(waitPlayed(3));
    engine->stop();
    const Strings p = played();
    const Strings first(p.begin(), p.begin() + 3);
    EXPECT_EQ(std::set<std::string>(first.begin(), first.end()), (std::set<std::string>{"a", "b", "c"}));
}

TEST_F(Orders, RandomNeverRepeatsTheTrackJustPlayed) {
    abc();
    setOrder("Random");
    engine->start(PC::track_command_next, false);
    ASSERT_TRUE(waitPlayed(6));
    engine->stop();
    const Strings p = played();
    for (size_t i = 1; i < p.size(); ++i) EXPECT_NE(p[i], p[i - 1]) << i;
}

TEST_F(Orders, TheQueueComesFirstThenTheOrderGoesOnFromTheQueuedItem) {
    abc();
    playlists->queue_add_item_playlist(0, 2);
    playlists->queue_add_item(SynthLibrary::global().add("loose", Synth{.seconds = 0.2}));
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(played(), (Strings{"c", "loose"}));
    EXPECT_EQ(playlists->queue_get_count(), 0u);
}

TEST_F(Orders, CommandsPickTheirTrack) {
    const double five = 5;
    playlistOf({{"a", Synth{.seconds = five}}, {"b", Synth{.seconds = five}}, {"c", Synth{.seconds = five}}});
    playlists->playlist_set_focus_item(0, 1);
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return played().size() == 1; }));
    engine->start(PC::track_command_next, false);
    ASSERT_TRUE(waitUntil([&] { return played().size() == 2; }));
    engine->start(PC::track_command_prev, false);
    ASSERT_TRUE(waitUntil([&] { return played().size() == 3; }));
    engine->start(PC::track_command_prev, false);
    ASSERT_TRUE(waitUntil([&] { return played().size() == 4; }));
    engine->start(PC::track_command_prev, false);  // before the first: nothing, "a" plays on
    playlists->playlist_set_focus_item(0, 2);
    engine->start(PC::track_command_settrack, false);
    ASSERT_TRUE(waitUntil([&] { return played().size() == 5; }));
    engine->start(PC::track_command_rand, false);
    ASSERT_TRUE(waitUntil([&] { return played().size() == 6; }));
    const Strings p = played();
    EXPECT_EQ(Strings(p.begin(), p.begin() + 5), (Strings{"b", "c", "b", "a", "c"}));
    EXPECT_NE(p[5], "c");
    // Double-clicking an item.
    EXPECT_TRUE(playlists->playlist_execute_default_action(0, 0));
    ASSERT_TRUE(waitUntil([&] { return played().size() == 7; }));
    EXPECT_EQ(played()[6], "a");
    EXPECT_FALSE(playlists->playlist_execute_default_action(0, 9));
}

TEST_F(Orders, NothingToPlayLeavesTheStateAlone) {
    engine->start(PC::track_command_play, false);  // no playlist at all
    playlistOf({});
    engine->start(PC::track_command_next, false);
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_TRUE(log.events.empty());
}

TEST_F(Orders, StopAfterCurrentEndsWithTheTrackOnce) {
    abc();
    engine->setStopAfterCurrent(true);
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(played(), (Strings{"a"}));
    EXPECT_EQ(log.events.back(), "stop 1");
    EXPECT_FALSE(engine->stopAfterCurrent());
}

}  // namespace
