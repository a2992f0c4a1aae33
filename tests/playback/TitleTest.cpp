// The playing track's title: the playback fields before the track's own.

#include "PlaybackFixture.h"
#include "PlaybackTitleHook.h"
#include "titleformat.h"

namespace {

using PC = playback_control;

// Writes "name=value" for each field, "name?" when absent and "name!" when
// nobody knows it, so every answer of the hook shows.
class FieldList : public titleformat_object {
public:
    explicit FieldList(std::vector<std::string> names) : m_names(std::move(names)) {}
    void run(titleformat_hook* hook, cvk::string_base& out, titleformat_text_filter*) override {
        out.reset();
        for (const auto& name : m_names) {
            if (out.get_length()) out.add_string(" ");
            cvk::stringLite value;
            bool found = false;
            if (!hook || !hook->process_field(value, name.c_str(), name.size(), found)) {
                out.add_string((name + "!").c_str());
                continue;
            }
            out.add_string((name + (found ? "=" + std::string(value.get_ptr()) : "?")).c_str());
        }
    }

private:
    std::vector<std::string> m_names;
};

std::string format(const playback::PlayingState& state, playback_control::t_display_level level,
                   const std::vector<std::string>& names, titleformat_hook* chained = nullptr) {
    playback::PlaybackTitleHook hook(state, level, chained);
    service_impl_t<FieldList> script(names);
    cvk::stringLite out;
    script.run(&hook, out, nullptr);
    return out.get_ptr();
}

TEST(PlaybackTitleHook, TimesFlagsAndTheDecodedStream) {
    const playback::PlayingState state{
        .position = 65.7, .length = 185.4, .paused = true, .sampleRate = 44100, .channels = 2};
    EXPECT_EQ(
        format(
            state, PC::display_level_all,
            {"playback_time", "PLAYBACK_TIME_SECONDS", "playback_time_remaining",
             "playback_time_remaining_seconds", "isplaying", "ispaused", "samplerate", "channels", "title"}),
        "playback_time=1:05 PLAYBACK_TIME_SECONDS=65 playback_time_remaining=2:00 "
        "playback_time_remaining_seconds=120 isplaying=1 ispaused=1 samplerate=44100 channels=stereo title!");
}

TEST(PlaybackTitleHook, LowerLevelsHideWhatTheyMayNotShowAsAbsent) {
    const playback::PlayingState state{.position = 3, .length = 0, .sampleRate = 48000, .channels = 6};
    EXPECT_EQ(format(state, PC::display_level_none, {"playback_time", "ispaused", "samplerate"}),
              "playback_time? ispaused? samplerate!");
    EXPECT_EQ(
        format(state, PC::display_level_titles, {"playback_time", "playback_time_remaining", "channels"}),
        "playback_time=0:03 playback_time_remaining? channels!");
    EXPECT_EQ(format(state, PC::display_level_all, {"channels"}), "channels=6 channels");
}

TEST(PlaybackTitleHook, TheCallersHookComesFirst) {
    struct Mine : titleformat_hook {
        bool process_field(cvk::string_base& out, const char* name, size_t len, bool& found) override {
            if (std::string(name, len) != "playback_time") return false;
            out.add_string("mine");
            found = true;
            return true;
        }
    } mine;
    EXPECT_EQ(format({.position = 10}, PC::display_level_all, {"playback_time", "isplaying"}, &mine),
              "playback_time=mine isplaying=1");
}

struct Title : PlaybackTest {};

TEST_F(Title, FormatsThePlayingTrackOnlyWhilePlaying) {
    service_ptr_t<titleformat_object> script =
        new service_impl_t<FieldList>(Strings{"playback_time", "samplerate"});
    cvk::stringLite out;
    out = "stale";
    EXPECT_FALSE(engine->formatTitle(nullptr, out, script, nullptr, PC::display_level_all));
    EXPECT_STREQ(out.get_ptr(), "");

    playlistOf({{"a", Synth{.seconds = 10, .rate = 22050}}});
    engine->start(PC::track_command_play, false);
    ASSERT_TRUE(waitUntil([&] { return engine->canSeek() && engine->position() > 0; }));
    engine->seek(75);
    EXPECT_FALSE(engine->formatTitle(nullptr, out, nullptr, nullptr, PC::display_level_all));
    // A ten-second track sought to its end.
    EXPECT_TRUE(engine->formatTitle(nullptr, out, script, nullptr, PC::display_level_all));
    EXPECT_STREQ(out.get_ptr(), "playback_time=0:10 samplerate=22050");
}

}  // namespace
