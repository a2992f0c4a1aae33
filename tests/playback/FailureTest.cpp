// Tracks that cannot be played: one console line each, then the next; never
// an endless round of failures.

#include "PlaybackFixture.h"

#include <algorithm>

namespace {

using PC = playback_control;

struct Failures : PlaybackTest {
    std::vector<std::string> playbackLines() const {
        std::vector<std::string> out;
        for (const auto& l : consoleSince())
            if (l.rfind("Playback:", 0) == 0) out.push_back(l);
        return out;
    }
};

TEST_F(Failures, ACorruptTrackMidwayPrintsOneLineAndTheNextPlays) {
    playlistOf({{"a", Synth{.seconds = 0.2}},
                {"broken", Synth{.seconds = 3, .failAfter = 0.3}},
                {"c", Synth{.seconds = 0.2}}});
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(log.withoutTime(),
              (Strings{"starting 1 0", "new a", "stop 2", "new broken", "stop 2", "new c", "stop 1"}));
    EXPECT_EQ(playbackLines(),
              (Strings{"Playback: cannot play /synth/broken: Invalid data found when processing input"}));
}

TEST_F(Failures, ATrackThatDoesNotOpenIsSkippedWithoutBeingAnnounced) {
    playlistOf({{"missing", Synth{.failOpen = true}}, {"b", Synth{.seconds = 0.2}}});
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(log.withoutTime(), (Strings{"starting 1 0", "new b", "stop 1"}));
    EXPECT_EQ(playbackLines(), (Strings{"Playback: cannot play /synth/missing: Unsupported format"}));
}

TEST_F(Failures, APlaylistOfBrokenTracksOnRepeatStopsAfterOneRound) {
    playlistOf(
        {{"x", Synth{.failOpen = true}}, {"y", Synth{.failOpen = true}}, {"z", Synth{.failOpen = true}}});
    playlists->playback_order_set_active(1);  // Repeat (playlist)
    playlists->playlist_set_focus_item(0, 1);
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitStopped());
    EXPECT_EQ(log.events, (Strings{"starting 1 0", "stop 1"}));
    const auto lines = playbackLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Playback: cannot play /synth/y: Unsupported format");
    EXPECT_EQ(lines[1], "Playback: cannot play /synth/z: Unsupported format");
    EXPECT_EQ(lines[2], "Playback: cannot play /synth/x: Unsupported format");
    EXPECT_EQ(lines[3], "Playback: stopped after 3 tracks in a row that could not be played");
}

TEST_F(Failures, RepeatTrackDoesNotRetryABrokenTrack) {
    playlistOf({{"broken", Synth{.failOpen = true}}, {"b", Synth{.seconds = 0.2}}});
    playlists->playback_order_set_active(2);  // Repeat (track)
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return playing() == "b"; }));
    engine->stop();
    EXPECT_EQ(playbackLines().size(), 1u);
}

}  // namespace
