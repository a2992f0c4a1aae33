// The demo library as a fresh machine gets it: files, tags, covers, and audio
// that looks like music.

#include "AlbumArtReader.h"
#include "AudioDecoder.h"
#include "DemoLibrary.h"
#include "DemoSynth.h"
#include "TrackInfoReader.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

QGuiApplication& app() {
    static int argc = 1;
    static char name[] = "demo_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* instance = new QGuiApplication(argc, argv);
    return *instance;
}

// Every test runs in a process of its own, so the library is made once per
// build of this program and kept beside it; earlier builds' copies go.
struct Demo : ::testing::Test {
    static std::string error;
    static bool made;

    static fs::path profileDir() {
        const QFileInfo binary(QCoreApplication::applicationFilePath());
        const std::string stamp = std::to_string(binary.lastModified().toMSecsSinceEpoch());
        return fs::path(QOV_DEMO_CACHE) / ("profile-" + stamp);
    }

    static void SetUpTestSuite() {
        app();
        const fs::path profile = profileDir();
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(QOV_DEMO_CACHE, ec))
            if (entry.path() != profile) fs::remove_all(entry.path(), ec);
        fs::create_directories(profile, ec);
        made = demo::DemoLibrary::ensure(profile, &error);
    }

    fs::path root() const { return profileDir(); }
    fs::path album(const char* name) const { return demo::DemoLibrary::folder(root()) / name; }
};

std::string Demo::error;
bool Demo::made = false;

TEST_F(Demo, HasThreeAlbumsOfTaggedTracks) {
    ASSERT_TRUE(made) << error;
    const auto tracks = demo::DemoLibrary::tracks(root());
    ASSERT_EQ(tracks.size(), 11u);

    std::map<std::string, int> byExtension;
    std::map<std::string, int> perAlbum;
    for (const auto& path : tracks) {
        const media::TrackInfo info = media::TrackInfoReader::read(path.string());
        SCOPED_TRACE(path.string());
        ++byExtension[path.extension().string()];
        ++perAlbum[info.album()];
        EXPECT_FALSE(info.title().empty());
        EXPECT_FALSE(info.artist().empty());
        EXPECT_FALSE(info.albumArtist().empty());
        EXPECT_EQ(info.date().size(), 4u);
        EXPECT_FALSE(info.genre().empty());
        EXPECT_GE(info.trackNumber(), 1u);
        EXPECT_LE(info.trackNumber(), info.totalTracks());
        EXPECT_GE(info.technical.length, 19.9);
        EXPECT_LE(info.technical.length, 240.1);
        EXPECT_EQ(info.technical.sampleRate, 44100u);
        EXPECT_EQ(info.technical.channels, 2u);
    }
    EXPECT_EQ(byExtension[".ogg"], 3);
    // MP3 where the encoder exists, else that album is FLAC too.
    EXPECT_EQ(byExtension[".flac"] + byExtension[".mp3"], 8);
    EXPECT_TRUE(byExtension[".mp3"] == 4 || byExtension[".mp3"] == 0);
    EXPECT_EQ(perAlbum, (std::map<std::string, int>{
                            {"Tidal Patterns", 4}, {"Paper Cities", 4}, {"Evening Études", 3}}));
}

TEST_F(Demo, TagsOfOneTrackExactly) {
    ASSERT_TRUE(made) << error;
    const auto tracks = demo::DemoLibrary::tracks(root());
    const auto nightBus = std::find_if(tracks.begin(), tracks.end(), [](const fs::path& p) {
        return p.filename().string().starts_with("04 Night Bus");
    });
    ASSERT_NE(nightBus, tracks.end());
    const media::TrackInfo info = media::TrackInfoReader::read(nightBus->string());
    EXPECT_EQ(info.title(), "Night Bus");
    EXPECT_EQ(info.artist(), "The Quiet Engines feat. Mira Sol");
    EXPECT_EQ(info.albumArtist(), "The Quiet Engines");
    EXPECT_EQ(info.album(), "Paper Cities");
    EXPECT_EQ(info.date(), "2018");
    EXPECT_EQ(info.genre(), "Indie Pop");
    EXPECT_EQ(info.trackNumber(), 4u);
    EXPECT_EQ(info.totalTracks(), 4u);
    EXPECT_NEAR(info.technical.length, 94.0, 0.1);
}

TEST_F(Demo, OneAlbumEmbedsItsCoverOneHasItBesideOneHasNone) {
    ASSERT_TRUE(made) << error;
    const fs::path tidal = album("Marin Kessler - Tidal Patterns");
    const fs::path paper = album("The Quiet Engines - Paper Cities");
    const fs::path evening = album("Lena Vasquez Trio - Evening Etudes");
    for (const auto& path : demo::DemoLibrary::tracks(root())) {
        SCOPED_TRACE(path.string());
        const auto embedded = media::AlbumArtReader::embeddedFrontCover(path.string());
        const std::string beside = media::AlbumArtReader::coverFileBeside(path.string());
        if (path.parent_path() == tidal) {
            ASSERT_GT(embedded.size(), 8u);
            EXPECT_EQ(embedded[0], 0xFF);  // a JPEG
            EXPECT_EQ(embedded[1], 0xD8);
            EXPECT_TRUE(beside.empty());
        } else if (path.parent_path() == paper) {
            EXPECT_TRUE(embedded.empty());
            EXPECT_EQ(beside, (paper / "cover.jpg").string());
        } else {
            EXPECT_EQ(path.parent_path(), evening);
            EXPECT_TRUE(media::AlbumArtReader::frontCover(path.string()).empty());
        }
    }
    const QImage cover(QString::fromStdString((paper / "cover.jpg").string()));
    EXPECT_EQ(cover.size(), QSize(600, 600));
    // Not one flat colour: a gradient, light spots and text.
    EXPECT_NE(cover.pixel(10, 10), cover.pixel(590, 590));
}

TEST_F(Demo, TheAudioRisesAndFallsLikeMusicAndIsStereo) {
    ASSERT_TRUE(made) << error;
    const auto tracks = demo::DemoLibrary::tracks(root());
    media::AudioDecoder decoder(tracks.front().string());
    audio_chunk_impl chunk;
    // RMS per quarter second, and how far apart the two channels are.
    std::vector<double> windows;
    double sum = 0, peak = 0, sideEnergy = 0;
    size_t frames = 0;
    const size_t window = 11025;
    while (decoder.read(chunk)) {
        const audio_sample* s = chunk.get_data();
        for (size_t i = 0; i < chunk.get_sample_count(); ++i) {
            const double l = s[2 * i], r = s[2 * i + 1];
            sum += l * l;
            peak = std::max({peak, std::abs(l), std::abs(r)});
            sideEnergy += (l - r) * (l - r);
            if (++frames % window == 0) {
                windows.push_back(std::sqrt(sum / window));
                sum = 0;
            }
        }
    }
    ASSERT_GT(windows.size(), 40u);
    EXPECT_GT(peak, 0.5);
    EXPECT_LE(peak, 1.0);
    EXPECT_GT(sideEnergy, 1.0);
    const auto [low, high] = std::minmax_element(windows.begin() + 8, windows.end() - 16);
    EXPECT_GT(*high, 2.0 * *low) << "a waveform with no shape";
    EXPECT_LT(windows.front(), windows[8]);  // fades in
}

TEST(DemoExisting, AnExistingFolderIsLeftAsItIs) {
    app();
    QTemporaryDir dir;
    const fs::path profile = dir.path().toStdString();
    // Even an emptied one: the user's folder is theirs.
    fs::create_directories(demo::DemoLibrary::folder(profile));
    EXPECT_TRUE(demo::DemoLibrary::ensure(profile));
    EXPECT_TRUE(fs::is_empty(demo::DemoLibrary::folder(profile)));
    EXPECT_TRUE(demo::DemoLibrary::tracks(profile).empty());
}

TEST(DemoFailure, AProfileThatCannotHoldItReportsWhyAndLeavesNothing) {
    app();
    QTemporaryDir dir;
    const fs::path notAFolder = fs::path(dir.path().toStdString()) / "profile";
    { std::ofstream(notAFolder) << "x"; }
    std::string error;
    EXPECT_FALSE(demo::DemoLibrary::ensure(notAFolder, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator()), 1);
}

TEST(DemoSynth, IsTheSameForTheSameSeedAndDiffersOtherwise) {
    const demo::SynthStyle a{.seed = 5, .seconds = 3};
    demo::SynthStyle b = a;
    b.seed = 6;
    const auto first = demo::synthesize(a);
    EXPECT_EQ(first.size(), size_t(3 * demo::kDemoRate) * 2);
    EXPECT_EQ(first, demo::synthesize(a));
    EXPECT_NE(first, demo::synthesize(b));
}

}  // namespace
