// Tracks that cannot be played: one console line each, then the next; never
// an endless round of failures.

#include "PlaybackFixture.h"

#include <algorithm>
#include <chrono>

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

// A sound card unplugged mid-track: writes fail from some frame on.
class LostDevice : public playback::AudioDevice {
public:
    LostDevice(const playback::AudioFormat& format, size_t framesBeforeLoss)
        : m_clock(playback::openSilentClock(format)), m_left(framesBeforeLoss) {}
    bool write(const float* samples, size_t frames) override {
        if (frames > m_left) return false;
        m_left -= frames;
        return m_clock->write(samples, frames);
    }
    size_t delay() override { return m_clock->delay(); }
    void setPaused(bool paused) override { m_clock->setPaused(paused); }
    void drop() override { m_clock->drop(); }
    void playOut() override { m_clock->playOut(); }

private:
    std::unique_ptr<playback::AudioDevice> m_clock;
    size_t m_left;
};

TEST_F(Failures, ADeviceLostMidTrackSaysSoOnceAndTheTrackPlaysOnOnTheClock) {
    engine->setDeviceFactory(
        [](const playback::AudioFormat& format) -> std::unique_ptr<playback::AudioDevice> {
            return std::make_unique<LostDevice>(format, format.rate / 4);
        });
    playlistOf({{"a", Synth{.seconds = 1.2}}});
    const auto start = std::chrono::steady_clock::now();
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return engine->position() >= 0.8; }));
    ASSERT_TRUE(waitStopped());
    // Heard in real time to its end, not cut short and not stalled.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1100));
    EXPECT_EQ(log.withoutTime(), (Strings{"starting 1 0", "new a", "stop 1"}));
    const auto lines = consoleSince();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(), "Audio: the output device failed; playing on a silent clock"),
        1);
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
