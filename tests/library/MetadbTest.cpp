#include "LibraryTestSupport.h"
#include "Metadb.h"
#include "TrackHandle.h"

#include "exceptions.h"
#include "std_api.h"
#include "titleformat.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

using library::Metadb;
using library::TrackHandle;

namespace {

std::string title(const metadb_handle_ptr& track, const char* pattern = "%title%") {
    cvk::stringLite out;
    track->format_title(nullptr, out, qvn::std_api_get<titleformat_compiler>()->compile_safe(pattern),
                        nullptr);
    return out.str();
}

TEST(Metadb, SpellingsOfOneLocationShareOneHandle) {
    Metadb& db = Metadb::instance();
    const auto a = db.handleFor("/music/x/../album/01.flac");
    EXPECT_STREQ(a->get_path(), "file:///music/album/01.flac");
    EXPECT_EQ(db.handleFor("file:///music/album/01.flac"), a);
    EXPECT_EQ(db.handleFor("/music/album//01.flac"), a);
    EXPECT_EQ(db.handleFor(a->get_location()), a);
    EXPECT_NE(db.handleFor("/music/album/01.flac", 1), a);
    EXPECT_EQ(db.handleFor("/music/album/01.flac", 1)->get_subsong_index(), 1u);

    const auto relative = db.handleFor("some/where.flac");
    EXPECT_EQ(std::string(relative->get_path()),
              "file://" + (std::filesystem::current_path() / "some/where.flac").string());
    // Other schemes are kept as they are and have no info.
    const auto stream = db.handleFor("http://radio.example/stream");
    EXPECT_STREQ(stream->get_path(), "http://radio.example/stream");
    EXPECT_LE(stream->get_length(), 0.0);
}

TEST(Metadb, HandleLivesExactlyAsLongAsItsReferences) {
    Metadb& db = Metadb::instance();
    const size_t before = db.handleCount();
    auto h = db.handleFor("/music/lifetime.flac");
    auto again = h;
    EXPECT_EQ(db.handleCount(), before + 1);
    h.release();
    EXPECT_EQ(db.handleCount(), before + 1);
    again.release();
    EXPECT_EQ(db.handleCount(), before);
}

// Handles are taken and dropped from many threads at once; while one reference
// is held nobody may get a second object, and when all are gone so is the entry.
TEST(Metadb, OneHandlePerLocationAcrossThreads) {
    Metadb& db = Metadb::instance();
    const size_t before = db.handleCount();
    const auto held = db.handleFor("/music/threads/held.flac");
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 5000; ++i) {
                if (db.handleFor(t % 2 ? "file:///music/threads/held.flac" : "/music/threads/./held.flac") !=
                    held)
                    ++mismatches;
                // A location nobody holds: made and destroyed over and over.
                auto churn = db.handleFor("/music/threads/churn.flac");
                auto other = db.handleFor("/music/threads/churn.flac");
                if (churn != other) ++mismatches;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(db.handleCount(), before + 1);
}

TEST(TrackInfo, ReadOnAWorkerBeforeTheMainThreadNeedsIt) {
    MediaFixtures::Scratch dir;
    const std::string path = taggedTrack(dir.file("one.flac"), "First Light", "The Band");
    const auto track = Metadb::instance().handleFor(path);
    TrackHandle* own = TrackHandle::from(track);
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(own->infoLoaded());

    std::thread worker([&] {
        abort_callback_dummy never;
        own->loadInfo(never);
    });
    worker.join();
    EXPECT_TRUE(own->infoLoaded());
    EXPECT_NEAR(track->get_length(), 2.0, 0.05);
    EXPECT_EQ(track->get_filesize(), std::filesystem::file_size(path));
    EXPECT_EQ(title(track, "%artist% - %title% [%codec%]"), "The Band - First Light FLAC");
}

TEST(TrackInfo, AFileThatCannotBeReadShowsItsName) {
    MediaFixtures::Scratch dir;
    const std::string path = brokenTrack(dir.file("Not Audio.flac"));
    const auto track = Metadb::instance().handleFor(path);
    abort_callback_dummy never;
    EXPECT_THROW(TrackHandle::from(track)->loadInfo(never), exception_io);
    EXPECT_LE(track->get_length(), 0.0);
    EXPECT_EQ(track->get_filesize(), filesize_invalid);
    EXPECT_EQ(title(track), "Not Audio");

    const auto missing = Metadb::instance().handleFor(dir.file("gone.mp3"));
    EXPECT_EQ(title(missing), "gone");
    EXPECT_EQ(missing->get_filesize(), filesize_invalid);
}

TEST(TrackInfo, ReloadPicksUpAChangedFile) {
    MediaFixtures::Scratch dir;
    const std::string path = taggedTrack(dir.file("edit.flac"), "Before");
    const auto track = Metadb::instance().handleFor(path);
    EXPECT_EQ(title(track), "Before");

    media::TagWriter::Tags tags;
    tags.title = "After";
    media::TagWriter::write(path, tags);
    EXPECT_EQ(title(track), "Before");  // read once, kept

    metadb_handle_list told;
    Metadb::instance().setModifiedObserver([&](const metadb_handle_list& tracks) { told = tracks; });
    Metadb::instance().reload({track});
    Metadb::instance().setModifiedObserver({});
    EXPECT_EQ(title(track), "After");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], track);
}

}  // namespace
