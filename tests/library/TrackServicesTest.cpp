#include "FakePlaylists.h"
#include "IncomingItems.h"
#include "LibraryTestSupport.h"
#include "MainThreadCallbacks.h"
#include "Metadb.h"
#include "TrackServices.h"

#include <gtest/gtest.h>

#include <filesystem>

using library::Metadb;

namespace {

TEST(TrackServices, TracksEnteringAPlaylistAreAddedUntilStop) {
    app();
    MediaFixtures::Scratch profile;
    library::startTrackServices(profile.file(""));
    EXPECT_TRUE(std::filesystem::exists(profile.file(library::kStatisticsFileName)));
    ASSERT_EQ(FakePlaylists::instance().callbacks.size(), 1u);

    const auto track = Metadb::instance().handleFor(profile.file("new.flac"));
    EXPECT_EQ(Metadb::instance().statistics(track).added, 0);
    FakePlaylists::instance().playlist_insert_items(0, 0, {track}, bit_array_false());
    EXPECT_GT(Metadb::instance().statistics(track).added, 0);

    library::stopTrackServices();
    EXPECT_TRUE(FakePlaylists::instance().callbacks.empty());
    // Closed: what the file holds is no longer what the host reads.
    EXPECT_EQ(Metadb::instance().statistics(track).added, 0);
    FakePlaylists::instance().reset({}, {});
    // The other tests run with the services open.
    library::MainThreadCallbacks::instance().reopen();
    library::IncomingItems::instance().reopen();
}

}  // namespace
