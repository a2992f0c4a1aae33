#include "AlbumArtReader.h"
#include "MediaFixtures.h"
#include "TagWriter.h"

#include <gtest/gtest.h>

#include <taglib/flacfile.h>

using media::AlbumArtReader;
using media::TagWriter;
using Bytes = std::vector<unsigned char>;

namespace {

const Bytes& png() {
    static const Bytes bytes = MediaFixtures::readFile(MediaFixtures::path("cover.png"));
    return bytes;
}
const Bytes& jpg() {
    static const Bytes bytes = MediaFixtures::readFile(MediaFixtures::path("cover.jpg"));
    return bytes;
}

class EmbeddedArt : public ::testing::TestWithParam<const char*> {};

TEST_P(EmbeddedArt, ReadsBackTheCoverLastWritten) {
    MediaFixtures::Scratch dir;
    const std::string path = dir.copy(GetParam());
    EXPECT_TRUE(AlbumArtReader::frontCover(path).empty());
    TagWriter::writeFrontCover(path, png());
    EXPECT_EQ(AlbumArtReader::embeddedFrontCover(path), png());
    TagWriter::writeFrontCover(path, jpg());
    EXPECT_EQ(AlbumArtReader::frontCover(path), jpg());
}

INSTANTIATE_TEST_SUITE_P(Media, EmbeddedArt,
                         ::testing::Values("stereo.flac", "stereo.mp3", "stereo.ogg", "stereo.opus",
                                           "stereo.m4a", "stereo.wav"),
                         [](const auto& info) { return std::string(info.param).replace(6, 1, "_"); });

// A back cover or an artist photo never stands in for the front; an untyped
// picture does, since many taggers write nothing else.
TEST(EmbeddedArt, ChoosesByPictureType) {
    MediaFixtures::Scratch dir;
    const std::string path = dir.copy("stereo.flac");
    const auto add = [&](TagLib::FLAC::Picture::Type type, const Bytes& data) {
        TagLib::FLAC::File file(path.c_str());
        auto* picture = new TagLib::FLAC::Picture;
        picture->setType(type);
        picture->setData(
            TagLib::ByteVector(reinterpret_cast<const char*>(data.data()), unsigned(data.size())));
        file.addPicture(picture);
        ASSERT_TRUE(file.save());
    };
    add(TagLib::FLAC::Picture::BackCover, png());
    add(TagLib::FLAC::Picture::Artist, png());
    EXPECT_TRUE(AlbumArtReader::embeddedFrontCover(path).empty());
    add(TagLib::FLAC::Picture::Other, jpg());
    EXPECT_EQ(AlbumArtReader::embeddedFrontCover(path), jpg());
    add(TagLib::FLAC::Picture::FrontCover, png());
    EXPECT_EQ(AlbumArtReader::embeddedFrontCover(path), png());
}

TEST(ArtBeside, PrefersCoverThenFolderThenFrontThenTheLargestAlbumArt) {
    MediaFixtures::Scratch dir;
    const std::string track = dir.copy("stereo.flac");
    const auto put = [&](const char* name, size_t size) {
        MediaFixtures::writeFile(dir.file(name), Bytes(size, 1));
    };
    for (const char* ignored : {"notcover.jpg", "cover.gif", "booklet.png"}) put(ignored, 10);
    EXPECT_EQ(AlbumArtReader::coverFileBeside(track), "");
    const std::pair<const char*, size_t> steps[] = {{"AlbumArtSmall.jpg", 10},
                                                    {"AlbumArt_{1234}_Large.jpg", 50},
                                                    {"FRONT.PNG", 10},
                                                    {"Folder.jpg", 10},
                                                    {"Cover.png", 10}};
    for (const auto& [name, size] : steps) {
        put(name, size);
        EXPECT_EQ(AlbumArtReader::coverFileBeside(track), dir.file(name)) << name;
    }
    put("cover.jpg", 0);  // an empty image is no image
    EXPECT_EQ(AlbumArtReader::coverFileBeside(track), dir.file("Cover.png"));

    // It serves when nothing is embedded, and never overrides embedded art.
    MediaFixtures::writeFile(dir.file("Cover.png"), jpg());
    EXPECT_EQ(AlbumArtReader::frontCover(track), jpg());
    TagWriter::writeFrontCover(track, png());
    EXPECT_EQ(AlbumArtReader::frontCover(track), png());
}

TEST(ArtBeside, MissingOrOddTracksGiveNoArtAndNoException) {
    MediaFixtures::Scratch dir;
    MediaFixtures::writeFile(dir.file("noise.mp3"), Bytes(4096, 0xFF));
    for (const char* name : {"missing.flac", "no/folder/x.flac", "noise.mp3", ""}) {
        EXPECT_TRUE(AlbumArtReader::frontCover(dir.file(name)).empty()) << name;
    }
}

}  // namespace
