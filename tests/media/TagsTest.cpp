#include "AudioDecoder.h"
#include "exceptions.h"
#include "MediaFixtures.h"
#include "TagWriter.h"
#include "TrackInfoReader.h"

#include <gtest/gtest.h>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

using media::TagWriter;
using media::TrackInfo;
using media::TrackInfoReader;
using Values = std::vector<std::string>;

namespace {

TEST(TrackInfoTags, NormalisesNamesAndSplitsNumbersFromTotals) {
    const TrackInfo::Tags tags = TrackInfo::normalized({
        {"TRACKNUMBER", {"3/99"}},
        {"TOTALTRACKS", {"12"}},  // an explicit total wins
        {"DISCNUMBER", {"1/2"}},
        {"album artist", {"Alias"}},
        {"ALBUMARTIST", {"Usual"}},
        {"title", {"T"}},
        {"YEAR", {"1999"}},
        {"EMPTY", {""}},
        {"ARTIST", {"A", "", "B"}},
    });
    EXPECT_EQ(tags, (TrackInfo::Tags{{"TRACKNUMBER", {"3"}},
                                     {"TOTALTRACKS", {"12"}},
                                     {"DISCNUMBER", {"1"}},
                                     {"TOTALDISCS", {"2"}},
                                     {"ALBUMARTIST", {"Usual"}},
                                     {"TITLE", {"T"}},
                                     {"DATE", {"1999"}},
                                     {"ARTIST", {"A", "B"}}}));
    const TrackInfo::Tags vorbis = TrackInfo::normalized(
        {{"TRACKNUMBER", {"03"}}, {"TRACKTOTAL", {"12"}}, {"DISCTOTAL", {"2"}}, {"ALBUM ARTIST", {"Alias"}}});
    EXPECT_EQ(vorbis, (TrackInfo::Tags{{"TRACKNUMBER", {"03"}},
                                       {"TOTALTRACKS", {"12"}},
                                       {"TOTALDISCS", {"2"}},
                                       {"ALBUMARTIST", {"Alias"}}}));

    TrackInfo info;
    info.tags = {{"TRACKNUMBER", {" 07"}}, {"DISCNUMBER", {"A"}}};
    EXPECT_EQ(info.trackNumber(), 7u);
    EXPECT_EQ(info.discNumber(), 0u);
    for (const auto& [date, year] : std::map<std::string, unsigned>{
             {"2019-05-03", 2019}, {"03.05.2019", 2019}, {"12345", 0}, {"'69", 0}, {"c. 1720, 1724", 1720}}) {
        info.tags["DATE"] = {date};
        EXPECT_EQ(info.year(), year) << date;
    }
}

class TagRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(TagRoundTrip, WrittenTagsReadBackBesideTheTechnicalInfo) {
    MediaFixtures::Scratch dir;
    const std::string path = dir.copy(GetParam());
    TagWriter::Tags tags{
        "Ünïcödé – 日本語", "The Artist", "The Album", "Various", "2021-06-01", "Ambient", 3, 12, 1, 2};
    TagWriter::write(path, tags);

    const TrackInfo info = TrackInfoReader::read(path);
    EXPECT_EQ(info.title(), tags.title);
    EXPECT_EQ(info.artist(), "The Artist");
    EXPECT_EQ(info.album(), "The Album");
    EXPECT_EQ(info.albumArtist(), "Various");
    EXPECT_EQ(info.date(), "2021-06-01");
    EXPECT_EQ(info.genre(), "Ambient");
    EXPECT_EQ(
        std::vector<unsigned>({info.trackNumber(), info.totalTracks(), info.discNumber(), info.totalDiscs()}),
        std::vector<unsigned>({3, 12, 1, 2}));
    // Tags in front of the audio change neither what it is nor how long.
    const media::TechnicalInfo original = media::AudioDecoder(MediaFixtures::path(GetParam())).info();
    EXPECT_EQ(info.technical.codec, original.codec);
    EXPECT_EQ(info.technical.sampleRate, original.sampleRate);
    EXPECT_EQ(info.technical.channels, original.channels);
    EXPECT_DOUBLE_EQ(info.technical.length, original.length);
    EXPECT_EQ(info.fileSize, std::filesystem::file_size(path));

    // Emptied fields go; the rest stay.
    tags.artist.clear();
    tags.trackNumber = tags.discNumber = 0;
    TagWriter::write(path, tags);
    const TrackInfo after = TrackInfoReader::read(path);
    for (const char* gone : {"ARTIST", "TRACKNUMBER", "TOTALTRACKS", "DISCNUMBER", "TOTALDISCS"}) {
        EXPECT_FALSE(after.has(gone)) << gone;
    }
    EXPECT_EQ(after.album(), "The Album");
}

INSTANTIATE_TEST_SUITE_P(Media, TagRoundTrip,
                         ::testing::Values("stereo.flac", "stereo.mp3", "stereo.ogg", "stereo.opus",
                                           "stereo.m4a", "stereo.wav"),
                         [](const auto& info) { return std::string(info.param).replace(6, 1, "_"); });

// Vorbis comments keep totals apart, ID3v2 writes "3/12"; other tags stay.
TEST(TagWriter, FollowsEachFormatsConventionAndKeepsOtherTags) {
    MediaFixtures::Scratch dir;
    for (const char* fixture : {"stereo.flac", "stereo.mp3"}) {
        const std::string path = dir.copy(fixture);
        {
            TagLib::FileRef ref(path.c_str());
            TagLib::PropertyMap props;
            props.replace("COMPOSER", TagLib::StringList("Hildegard"));
            props.replace("COMMENT", TagLib::StringList("Live take"));
            props.replace("MOOD", TagLib::StringList("calm"));
            ref.file()->setProperties(props);
            ASSERT_TRUE(ref.save());
        }
        TagWriter::Tags tags;
        tags.title = "New";
        tags.trackNumber = 3;
        tags.totalTracks = 12;
        TagWriter::write(path, tags);
        const TrackInfo info = TrackInfoReader::read(path);
        EXPECT_EQ(info.title(), "New");
        EXPECT_EQ(info.composer(), "Hildegard");
        EXPECT_EQ(info.comment(), "Live take");
        EXPECT_EQ(info.tag("MOOD"), "calm");
        const TagLib::PropertyMap raw = TagLib::FileRef(path.c_str()).file()->properties();
        EXPECT_EQ(raw["TRACKNUMBER"].toString(), std::string(fixture) == "stereo.flac" ? "3" : "3/12");
    }
}

TEST(TagWriter, RefusesWhatItCannotHandleAndLeavesTheFileAlone) {
    MediaFixtures::Scratch dir;
    MediaFixtures::writeFile(dir.file("noise.mp3"), std::vector<unsigned char>(4096, 0x5A));
    EXPECT_THROW(TagWriter::write(dir.file("noise.mp3"), {}), exception_io);
    EXPECT_THROW(TagWriter::write(dir.file("missing.flac"), {}), exception_io);
    EXPECT_THROW(TrackInfoReader::read(dir.file("noise.mp3")), exception_io);
    EXPECT_TRUE(TrackInfoReader::readTags(dir.file("noise.mp3")).empty());

    const std::string flac = dir.copy("stereo.flac");
    EXPECT_THROW(TagWriter::writeFrontCover(flac, {'G', 'I', 'F', '8', '9', 'a', 0, 0}), exception_io);
    EXPECT_THROW(TagWriter::writeFrontCover(flac, {}), exception_io);
    EXPECT_EQ(MediaFixtures::readFile(flac), MediaFixtures::readFile(MediaFixtures::path("stereo.flac")));
}

}  // namespace
