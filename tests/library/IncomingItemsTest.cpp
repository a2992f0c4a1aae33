#include "IncomingItems.h"
#include "LibraryTestSupport.h"
#include "TrackHandle.h"

#include "playlist_incoming_item_filter.h"
#include "std_api.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>

#include <filesystem>

using library::IncomingItems;

namespace {

struct Outcome {
    int completions = 0;
    int aborts = 0;
    bool offMainThread = false;
    metadb_handle_list items;
    bool answered() const { return completions + aborts > 0; }
};

void resolve(std::vector<std::string> locations, const std::shared_ptr<Outcome>& outcome,
             const char* restrictMask = nullptr, uint32_t flags = 6) {
    auto notify = process_locations_notify::create(
        [outcome](const metadb_handle_list& items) {
            ++outcome->completions;
            outcome->offMainThread |= QThread::currentThread() != app().thread();
            outcome->items = items;
        },
        [outcome] { ++outcome->aborts; });
    qvn::std_api_get<playlist_incoming_item_filter_v2>()->process_locations_async(
        locations, flags, restrictMask, nullptr, nullptr, notify);
}

std::vector<std::string> names(const metadb_handle_list& items) {
    std::vector<std::string> out;
    for (const auto& t : items) out.push_back(std::filesystem::path(t->get_path()).filename().string());
    return out;
}

class Incoming : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        taggedTrack(m_dir.file("in/b.flac"), "B");
        taggedTrack(m_dir.file("in/Album/Track 10.flac"), "Ten");
        taggedTrack(m_dir.file("in/Album/Track 2.flac"), "Two");
        taggedTrack(m_dir.file("in/Album/track 1.flac"), "One");
        brokenTrack(m_dir.file("in/Album/Track 3.flac"));
        MediaFixtures::writeFile(m_dir.file("in/Album/notes.txt"), {'x'});
        std::filesystem::copy_file(MediaFixtures::path("stereo.mp3"), m_dir.file("in/Album/Bonus.mp3"));
    }

    MediaFixtures::Scratch m_dir;
};

TEST_F(Incoming, FilesAndFoldersComeBackInOrderWithTheirInfo) {
    ConsoleLines console;
    auto outcome = std::make_shared<Outcome>();
    resolve({"file://" + m_dir.file("in/b.flac"), m_dir.file("in/Album"), m_dir.file("in/missing.flac"),
             m_dir.file("in/Album/notes.txt"), m_dir.file("in/b.flac")},
            outcome);
    EXPECT_FALSE(outcome->answered());  // never inside the call
    ASSERT_TRUE(waitUntil([&] { return outcome->answered(); }));

    EXPECT_EQ(outcome->completions, 1);
    EXPECT_EQ(outcome->aborts, 0);
    EXPECT_FALSE(outcome->offMainThread);
    EXPECT_EQ(names(outcome->items), (std::vector<std::string>{"b.flac", "Bonus.mp3", "track 1.flac",
                                                               "Track 2.flac", "Track 10.flac", "b.flac"}));
    for (const auto& t : outcome->items) EXPECT_TRUE(library::TrackHandle::from(t)->infoLoaded());

    // One line each for what was left out, naming it and why.
    EXPECT_EQ(console.count("skipped " + m_dir.file("in/Album/Track 3.flac") + ": "), 1u);
    EXPECT_EQ(console.count("skipped " + m_dir.file("in/missing.flac") + ": file not found"), 1u);
    EXPECT_EQ(console.count("skipped " + m_dir.file("in/Album/notes.txt") + ": not a supported audio file"),
              1u);
    EXPECT_EQ(console.lines().size(), 3u);
}

TEST_F(Incoming, PercentEncodedUrlsAndMasks) {
    taggedTrack(m_dir.file("in/with space.flac"), "Spaced");
    auto outcome = std::make_shared<Outcome>();
    resolve({"file://" + m_dir.file("in/with%20space.flac")}, outcome);
    ASSERT_TRUE(waitUntil([&] { return outcome->answered(); }));
    EXPECT_EQ(names(outcome->items), std::vector<std::string>{"with space.flac"});

    auto masked = std::make_shared<Outcome>();
    resolve({m_dir.file("in")}, masked, "*.MP3");
    ASSERT_TRUE(waitUntil([&] { return masked->answered(); }));
    EXPECT_EQ(names(masked->items), std::vector<std::string>{"Bonus.mp3"});

    // The masks do not apply when the caller says so.
    auto unmasked = std::make_shared<Outcome>();
    resolve({m_dir.file("in/b.flac")}, unmasked, "*.mp3",
            playlist_incoming_item_filter_v2::op_flag_no_filter);
    ASSERT_TRUE(waitUntil([&] { return unmasked->answered(); }));
    EXPECT_EQ(names(unmasked->items), std::vector<std::string>{"b.flac"});
}

TEST_F(Incoming, AbortedRequestsAnswerOnAbortedOnce) {
    auto outcome = std::make_shared<Outcome>();
    resolve({m_dir.file("in")}, outcome);
    IncomingItems::instance().abortAll();
    ASSERT_TRUE(waitUntil([&] { return outcome->answered(); }));
    spinLoop();
    EXPECT_EQ(outcome->aborts, 1);
    EXPECT_EQ(outcome->completions, 0);
    EXPECT_EQ(IncomingItems::instance().pendingCount(), 0u);
}

TEST_F(Incoming, ShutdownAnswersEveryPendingRequestBeforeReturning) {
    auto first = std::make_shared<Outcome>();
    auto second = std::make_shared<Outcome>();
    resolve({m_dir.file("in")}, first);
    resolve({m_dir.file("in/b.flac")}, second);
    IncomingItems::instance().shutdown();
    EXPECT_EQ(first->aborts, 1);
    EXPECT_EQ(second->aborts, 1);

    auto late = std::make_shared<Outcome>();
    resolve({m_dir.file("in/b.flac")}, late);
    EXPECT_EQ(late->aborts, 1);

    spinLoop();  // hand-backs queued before the shutdown find nothing to answer
    EXPECT_EQ(first->aborts + first->completions, 1);
    EXPECT_EQ(second->aborts + second->completions, 1);
    IncomingItems::instance().reopen();
}

}  // namespace
