// The patterns the player's own views ship with, on a complete and on a bare track.

#include <gtest/gtest.h>

#include "TestTrack.h"

namespace titleformat::test {
namespace {

const std::string kEnDash = "\xE2\x80\x93";

TrackInfo bareTrack() {
    TrackInfo t;
    t.path = "/music/untitled.wav";
    return t;
}

TEST(Patterns, PlaylistColumns) {
    TrackInfo full = sampleTrack();
    TrackInfo bare = bareTrack();
    const std::string artistAlbum = "$if2(%album artist%,?) " + kEnDash + " $if2(%album%,?)";
    EXPECT_EQ(run(artistAlbum, full), "Low Roar " + kEnDash + " 0");
    EXPECT_EQ(run(artistAlbum, bare), "? " + kEnDash + " ?");

    EXPECT_EQ(run("%title%[ // %track artist%]", full), "Easy Way Out");
    removeTag(full, "album artist");
    full.addTag("album artist", "Various");
    EXPECT_EQ(run("%title%[ // %track artist%]", full), "Easy Way Out // Low Roar");
    EXPECT_EQ(run("%title%[ // %track artist%]", bare), "untitled");

    EXPECT_EQ(run("[%tracknumber%]|[%length%]|[%bitrate% kbps]|[%filesize_natural%]|[%play_count%]", full),
              "03|4:05|1024 kbps|31.5 MB|4");
    EXPECT_EQ(run("[%artist%]|[%date%]|[%length%]|[%bitrate% kbps]|[%filesize_natural%]|[%rating%]", bare),
              "|||||");
    EXPECT_EQ(run("%filename_ext%|$ext(%path%)", bare), "untitled.wav|wav");
    // Sorting by size compares fixed-width numbers.
    EXPECT_EQ(run("$num(%filesize%,20)", full), "00000000000031450000");
}

TEST(Patterns, Grouping) {
    TrackInfo full = sampleTrack();
    const std::string album = "$if2(%album artist%,?) " + kEnDash + " $if2(%album%,?)[ '('%date%')']";
    EXPECT_EQ(run(album, full), "Low Roar " + kEnDash + " 0 (2014-11-04)");
    removeTag(full, "date");
    EXPECT_EQ(run(album, full), "Low Roar " + kEnDash + " 0");
    EXPECT_EQ(run("$directory_path(%path%)", full), "/home/ann/Music/Low Roar/0");
    EXPECT_EQ(run("$if2(%album artist%,?)[ - %album%]", bareTrack()), "?");
}

TEST(Patterns, WindowTitle) {
    const char* pattern =
        "[%album artist% - ]['['%album%[ CD%discnumber%][ #%tracknumber%]'] ']%title%[ '//' %track artist%] "
        "'['quorvane']'";
    EXPECT_EQ(run(pattern, sampleTrack()), "Low Roar - [0 CD1 #03] Easy Way Out [quorvane]");
    EXPECT_EQ(run(pattern, bareTrack()), "untitled [quorvane]");
}

TEST(Patterns, StatusBar) {
    TrackInfo full = sampleTrack();
    PlaybackState playing{75.2, false};
    const char* left =
        "%codec% %bitrate%kbps %samplerate%Hz %channels% \xC2\xA4 %playback_time%[ / %length%]";
    EXPECT_EQ(run(left, full, &playing), "FLAC 1024kbps 44100Hz stereo \xC2\xA4 1:15 / 4:05");
    TrackInfo stream = bareTrack();
    EXPECT_EQ(run(left, stream, &playing), "? ?kbps ?Hz ? \xC2\xA4 1:15");
    // The volume arrives as literal text and shows inside brackets.
    EXPECT_EQ(run("[-12.00dB]", full, &playing), "-12.00dB");
}

TEST(Patterns, OvixLines) {
    TrackInfo full = sampleTrack();
    EXPECT_EQ(run("[%artist% - ]%title%", full), "Low Roar - Easy Way Out");
    EXPECT_EQ(run("[%codec%][ :: $div(%samplerate%,1000) kHz][, %bitrate% kbps][, %filesize_natural%]", full),
              "FLAC :: 44 kHz, 1024 kbps, 31.5 MB");
    EXPECT_EQ(run("[%codec%][, $div(%samplerate%,1000) kHz][, %bitrate% kbps][, $caps(%channels%)]", full),
              "FLAC, 44 kHz, 1024 kbps, Stereo");
    EXPECT_EQ(run("[%album%][ '('%date%')']", full), "0 (2014-11-04)");
    TrackInfo bare = bareTrack();
    EXPECT_EQ(run("[%codec%][ :: $div(%samplerate%,1000) kHz][, %bitrate% kbps][, %filesize_natural%]", bare),
              "");
    EXPECT_EQ(run("[%title%]|[%artist%]|[%album%][ '('%date%')']", bare), "untitled||");
}

TEST(Patterns, SearchText) {
    EXPECT_EQ(run("%artist% %album artist% %title% %album% %genre% %date% %filename%", sampleTrack()),
              "Low Roar Low Roar Easy Way Out 0 Ambient 2014-11-04 03 Easy Way Out");
}

}  // namespace
}  // namespace titleformat::test
