#include "Console.h"
#include "LibraryTestSupport.h"
#include "Metadb.h"
#include "PlayStatistics.h"

#include <gtest/gtest.h>

#include <filesystem>

using library::Metadb;
using library::PlayStatistics;
using library::PlayStats;
using library::TrackKey;

namespace {

const TrackKey kA{"file:///music/a.flac", 0};
const TrackKey kB{"file:///music/b.flac", 0};
const TrackKey kA2{"file:///music/a.flac", 2};

TEST(PlayStatistics, KeptAcrossReopening) {
    MediaFixtures::Scratch dir;
    const std::string file = dir.file("library.sqlite");
    {
        PlayStatistics stats(file, Console::global());
        ASSERT_TRUE(stats.isPersistent());
        stats.played(kA, 100);
        stats.played(kA, 250);
        ASSERT_TRUE(stats.setRating({kA, kA2}, 3));
        // Only b had no time of addition yet: a got one when it played.
        EXPECT_EQ(stats.markAdded({kA, kB}, 50), std::vector<size_t>{1});
        EXPECT_TRUE(stats.markAdded({kB}, 60).empty());
    }
    PlayStatistics reopened(file, Console::global());
    EXPECT_EQ(reopened.get(kA), (PlayStats{2, 100, 250, 100, 3}));
    EXPECT_EQ(reopened.get(kA2), (PlayStats{0, 0, 0, 0, 3}));
    EXPECT_EQ(reopened.get(kB), (PlayStats{0, 0, 0, 50, 0}));
    EXPECT_EQ(reopened.get({"file:///music/never.flac", 0}), PlayStats{});
}

TEST(PlayStatistics, AnUnusableFileIsMovedAsideNotLost) {
    MediaFixtures::Scratch dir;
    const std::string file = dir.file("library.sqlite");
    const std::vector<unsigned char> garbage(8192, 0x5A);
    MediaFixtures::writeFile(file, garbage);
    ConsoleLines console;

    {
        PlayStatistics stats(file, Console::global());
        EXPECT_TRUE(stats.isPersistent());
        ASSERT_FALSE(stats.movedAside().empty());
        EXPECT_EQ(MediaFixtures::readFile(stats.movedAside().string()), garbage);
        EXPECT_EQ(console.count("unusable play statistics moved to " + stats.movedAside().string()), 1u);
        stats.played(kA, 10);
    }
    PlayStatistics fresh(file, Console::global());
    EXPECT_TRUE(fresh.movedAside().empty());
    EXPECT_EQ(fresh.get(kA).playCount, 1u);
}

TEST(PlayStatistics, MetadbWritesThroughAndTellsTheObserver) {
    MediaFixtures::Scratch dir;
    const std::string file = dir.file("library.sqlite");
    const auto track = Metadb::instance().handleFor(taggedTrack(dir.file("played.flac"), "Played"));
    const auto added = Metadb::instance().handleFor(taggedTrack(dir.file("added.flac"), "Added"));
    {
        PlayStatistics seed(file, Console::global());
        ASSERT_TRUE(seed.setRating({Metadb::keyFor(track->get_path())}, 2));
    }
    Metadb::instance().openStatistics(file);
    EXPECT_EQ(Metadb::instance().statistics(track).rating, 2u);

    std::vector<metadb_handle_list> told;
    Metadb::instance().setModifiedObserver([&](const metadb_handle_list& tracks) { told.push_back(tracks); });
    Metadb::instance().trackPlayed(track);
    Metadb::instance().noteAdded({added, track});
    Metadb::instance().noteAdded({added});
    Metadb::instance().setModifiedObserver({});
    Metadb::instance().closeStatistics();

    // Playing set the first track's time of addition already.
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0], metadb_handle_list{track});
    EXPECT_EQ(told[1], metadb_handle_list{added});

    PlayStatistics onDisk(file, Console::global());
    const PlayStats played = onDisk.get(Metadb::keyFor(track->get_path()));
    EXPECT_EQ(played.playCount, 1u);
    EXPECT_EQ(played.rating, 2u);
    EXPECT_GT(played.firstPlayed, 0);
    EXPECT_EQ(played.firstPlayed, played.lastPlayed);
    EXPECT_GT(onDisk.get(Metadb::keyFor(added->get_path())).added, 0);
}

}  // namespace
