#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "TestTrack.h"

namespace titleformat::test {
namespace {

TEST(Fields, ArtistAndAlbumArtistFallBackOnEachOther) {
    TrackInfo t = sampleTrack();
    removeTag(t, "album artist");
    EXPECT_EQ(run("%album artist%|%artist%", t), "Low Roar|Low Roar");
    TrackInfo u = sampleTrack();
    removeTag(u, "artist");
    EXPECT_EQ(run("%album artist%|%artist%", u), "Low Roar|Low Roar");
    removeTag(u, "album artist");
    EXPECT_EQ(run("%album artist%|%artist%", u), "?|?");
    // An empty tag value counts as missing.
    u.addTag("artist", "");
    EXPECT_EQ(run("[%artist%]", u), "");
}

TEST(Fields, TrackArtistOnlyWhenItDiffersFromTheAlbumArtist) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("[%track artist%]", t), "");
    removeTag(t, "album artist");
    EXPECT_EQ(run("[%track artist%]", t), "");
    t.addTag("album artist", "Various Artists");
    EXPECT_EQ(run("[%track artist%]", t), "Low Roar");
    removeTag(t, "artist");
    EXPECT_EQ(run("[%track artist%]", t), "");
}

TEST(Fields, TitleFallsBackToTheFileName) {
    TrackInfo t = sampleTrack();
    removeTag(t, "title");
    EXPECT_EQ(run("%title%", t), "03 Easy Way Out");
    t.path = "/music/.hidden";
    EXPECT_EQ(run("%title%|%filename%|%filename_ext%", t), ".hidden|.hidden|.hidden");
    t.path.clear();
    EXPECT_EQ(run("%title%|%filename%|%path%|%directoryname%", t), "?|?|?|?");
}

TEST(Fields, TrackAndDiscNumbers) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("%tracknumber%|%discnumber%|%totaldiscs%|[%totaltracks%]", t), "03|1|2|");
    removeTag(t, "tracknumber");
    t.addTag("tracknumber", "7/12");
    EXPECT_EQ(run("%tracknumber%|%totaltracks%", t), "07|12");
    removeTag(t, "tracknumber");
    t.addTag("tracknumber", "112");
    t.addTag("totaltracks", "120");
    EXPECT_EQ(run("%tracknumber%|%totaltracks%", t), "112|120");
    removeTag(t, "tracknumber");
    t.addTag("tracknumber", "A");
    EXPECT_EQ(run("%tracknumber%", t), "A");
    removeTag(t, "tracknumber");
    t.addTag("tracknumber", "/9");
    EXPECT_EQ(run("[%tracknumber%]|%totaltracks%", t), "|120");
}

TEST(Fields, TechnicalInfo) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("%codec% %bitrate% %samplerate% %channels% %bitspersample%", t),
              "FLAC 1024 44100 stereo 16");
    t.channels = 1;
    EXPECT_EQ(run("%channels%", t), "mono");
    t.channels = 6;
    EXPECT_EQ(run("%channels%", t), "6 channels");
    t = TrackInfo{};
    EXPECT_EQ(run("%codec% %bitrate% %samplerate% %channels% %length% %filesize%", t), "? ? ? ? ? ?");
}

TEST(Fields, LengthRoundsToTheSecond) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("%length%|%length_seconds%", t), "4:05|245");
    t.length = 59.5;
    EXPECT_EQ(run("%length%", t), "1:00");
    t.length = 3 * 3600 + 62;
    EXPECT_EQ(run("%length%|%length_seconds%", t), "3:01:02|10862");
    t.length = 0.2;
    EXPECT_EQ(run("%length%", t), "0:00");
    t.length = 0;
    EXPECT_EQ(run("[%length%]", t), "");
}

TEST(Fields, FileFields) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("%path%", t), "/home/ann/Music/Low Roar/0/03 Easy Way Out.flac");
    EXPECT_EQ(run("%filename%|%filename_ext%|%directoryname%", t), "03 Easy Way Out|03 Easy Way Out.flac|0");
    EXPECT_EQ(run("%filesize%|%filesize_natural%", t), "31450000|31.5 MB");
    t.fileSize = 0;
    EXPECT_EQ(run("%filesize%|%filesize_natural%", t), "0|Zero KB");
    t.path = "/song.mp3";
    EXPECT_EQ(run("[%directoryname%]|%subsong%", t), "|0");
}

TEST(Fields, PlaybackFieldsOnlyForThePlayingTrack) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("[%playback_time%]|%playback_time%|[%isplaying%]", t), "|?|");
    PlaybackState playing{61.9, false};
    EXPECT_EQ(run("%playback_time%|%playback_time_remaining%|%playback_time_seconds%|"
                  "%playback_time_remaining_seconds%|%isplaying%|[%ispaused%]",
                  t, &playing),
              "1:01|3:04|61|184|1|");
    playing = {300, true};
    EXPECT_EQ(run("%playback_time_remaining%|%ispaused%", t, &playing), "0:00|1");
    t.length = 0;
    EXPECT_EQ(run("%playback_time%[ / %length%][ -%playback_time_remaining%]", t, &playing), "5:00");
}

TEST(Fields, ListPositionIsPaddedToTheTotalsWidth) {
    TrackInfo t = sampleTrack();
    ListPosition pos{6, 120};
    EXPECT_EQ(run("%list_index%/%list_total%", t, nullptr, &pos), "007/120");
    pos = {0, 9};
    EXPECT_EQ(run("%list_index%", t, nullptr, &pos), "1");
    EXPECT_EQ(run("[%list_index%]", t), "");
}

class StatisticsFields : public testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        m_savedTz = tz ? std::optional<std::string>(tz) : std::nullopt;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (m_savedTz) {
            setenv("TZ", m_savedTz->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> m_savedTz;
};

TEST_F(StatisticsFields, TimesAsLocalDateAndClock) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("%play_count%|[%first_played%]|[%last_played%]|[%added%]|[%rating%]", t), "4||||");
    t.firstPlayed = 1'700'000'000;
    t.lastPlayed = 1'718'000'000;
    t.added = 946'684'800;
    t.rating = 4;
    EXPECT_EQ(run("%first_played%|%last_played%|%added%|%rating%", t),
              "2023-11-14 22:13:20|2024-06-10 06:13:20|2000-01-01 00:00:00|4");
    t.playCount = 0;
    EXPECT_EQ(run("%play_count%", t), "0");
}

}  // namespace
}  // namespace titleformat::test
