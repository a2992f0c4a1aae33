// Playlists kept on disk: what comes back after reopening, and what happens
// to a file that cannot be read.

#include "TestServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

namespace fs = std::filesystem;
using playlists::PlaylistManager;

namespace {

constexpr GUID kLockProperty{0x6A0C4D93, 0x7E21, 0x4B58, {0x9F, 0x36, 0xD1, 0x84, 0x2B, 0x5E, 0x70, 0xA9}};
constexpr GUID kOther{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};

struct Persistence : ::testing::Test {
    fs::path dir;
    fs::path file;
    std::vector<std::string> console;
    size_t made = 0;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("qov-playlists-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / "playlists.sqlite";
    }
    void TearDown() override { fs::remove_all(dir); }

    service_ptr_t<PlaylistManager> open(const fs::path& at) {
        auto m = newManager();
        m->open(
            at,
            [this](const playable_location& loc) -> service_ptr_t<metadb_handle> {
                ++made;
                if (loc.path.find("unmakeable") != std::string::npos) return nullptr;
                return service_new<TestTrack>(loc.path, loc.subsong);
            },
            [this](const std::string& line) { console.push_back(line); });
        return m;
    }
    service_ptr_t<PlaylistManager> open() { return open(file); }

    // Moved files, without the journal files moved beside them.
    std::vector<fs::path> asideFiles() {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string n = e.path().filename().string();
            if (n.rfind("playlists.sqlite.corrupt-", 0) == 0 && n.find("-wal") == n.npos &&
                n.find("-shm") == n.npos)
                out.push_back(e.path());
        }
        return out;
    }
};

std::string name(PlaylistManager& m, size_t playlist) {
    cvk::stringLite out;
    m.playlist_get_name(playlist, out);
    return out.c_str();
}

}  // namespace

TEST_F(Persistence, EverythingComesBackAfterReopening) {
    {
        auto m = open();
        m->create_playlist("Rock", SIZE_MAX, SIZE_MAX);
        m->create_playlist("Jazz – live", SIZE_MAX, SIZE_MAX);
        m->create_playlist("Empty", SIZE_MAX, SIZE_MAX);
        metadb_handle_list items = tracks({"a", "b"});
        items.push_back(track("cue", 3));
        m->playlist_add_items(1, items, bit_array_range(1, 2));
        m->playlist_set_focus_item(1, 2);
        m->set_active_playlist(1);
        const uint8_t one = 1;
        m->playlist_set_property(1, kLockProperty, &one, 1);
        m->playlist_set_property(0, kOther, "", 0);
        m->playback_order_set_active(4);
        EXPECT_TRUE(m->flush());
        EXPECT_FALSE(m->hasUnsavedChanges());
    }
    auto m = open();
    EXPECT_TRUE(console.empty());
    ASSERT_EQ(m->get_playlist_count(), 3u);
    EXPECT_EQ(name(*m, 0) + "|" + name(*m, 1) + "|" + name(*m, 2), "Rock|Jazz – live|Empty");
    EXPECT_EQ(names(*m, 1), (std::vector<std::string>{"a", "b", "cue"}));
    EXPECT_EQ(m->playlist_get_item_handle(1, 2)->get_subsong_index(), 3u);
    EXPECT_EQ(bits(m->playlist_get_selection_mask(1), 3), "011");
    EXPECT_EQ(m->playlist_get_focus_item(1), 2u);
    EXPECT_EQ(m->playlist_get_focus_item(0), SIZE_MAX);
    EXPECT_EQ(m->get_active_playlist(), 1u);
    EXPECT_EQ(m->playback_order_get_active(), 4u);
    std::vector<uint8_t> value;
    EXPECT_TRUE(m->playlist_get_property(1, kLockProperty, value));
    EXPECT_EQ(value, std::vector<uint8_t>{1});
    EXPECT_TRUE(m->playlist_get_property(0, kOther, value));
    EXPECT_TRUE(value.empty());
    EXPECT_FALSE(m->playlist_have_property(2, kLockProperty));
}

TEST_F(Persistence, EditsAfterTheFirstSaveArePersistedToo) {
    {
        auto m = open();
        for (const char* n : {"One", "Two", "Three"}) m->create_playlist(n, SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, numbered(6), bit_array_false());
        const uint8_t one = 1;
        m->playlist_set_property(2, kLockProperty, &one, 1);
        m->set_active_playlist(2);
        m->flush();

        m->playlist_remove_items(0, bit_array_range(1, 2));
        const size_t order[] = {3, 2, 1, 0};
        m->playlist_reorder_items(0, order, 4);
        m->playlist_add_items(0, numbered(1, "late"), bit_array_true());
        m->playlist_replace_item(0, 0, track("replaced"));
        m->remove_playlist(1);
        const size_t swap[] = {1, 0};
        m->reorder_playlists(swap, 2);
        m->playlist_rename(0, "Renamed", SIZE_MAX);
        m->playlist_remove_property(0, kLockProperty);
        m->flush();
    }
    auto m = open();
    ASSERT_EQ(m->get_playlist_count(), 2u);
    EXPECT_EQ(name(*m, 0) + "|" + name(*m, 1), "Renamed|One");
    EXPECT_EQ(m->get_active_playlist(), 0u);
    EXPECT_FALSE(m->playlist_have_property(0, kLockProperty));
    EXPECT_EQ(names(*m, 1), (std::vector<std::string>{"replaced", "t4", "t3", "t0", "late0"}));
    EXPECT_EQ(bits(m->playlist_get_selection_mask(1), 5), "00001");
}

TEST_F(Persistence, ABurstOfChangesAsksForOneFlushAndCloseWritesWhatIsLeft) {
    {
        auto m = open();
        int requests = 0;
        m->setFlushScheduler([&] { ++requests; });
        m->create_playlist("Kept", SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, numbered(10000), bit_array_false());
        m->playlist_set_selection(0, bit_array_true(), bit_array_true());
        EXPECT_EQ(requests, 1);
        EXPECT_TRUE(m->flush());
        m->playlist_get_selection_mask(0);  // reads change nothing
        EXPECT_EQ(requests, 1);
        m->playlist_remove_items(0, bit_array_one(0));
        EXPECT_EQ(requests, 2);
        m->close();
    }
    auto m = open();
    EXPECT_EQ(m->playlist_get_item_count(0), 9999u);
    EXPECT_EQ(nameOf(m->playlist_get_item_handle(0, 9998)), "t9999");
}

TEST_F(Persistence, ACommittedFlushIsOnDiskBeforeAnyClose) {
    auto m = open();
    m->create_playlist("Committed", SIZE_MAX, SIZE_MAX);
    m->playlist_add_items(0, numbered(3), bit_array_one(2));
    ASSERT_TRUE(m->flush());
    // What a crash now would leave: the files as they are.
    const fs::path copy = dir / "copy" / "playlists.sqlite";
    fs::create_directories(copy.parent_path());
    for (const char* suffix : {"", "-wal"})
        if (fs::exists(file.string() + suffix)) fs::copy_file(file.string() + suffix, copy.string() + suffix);
    auto reopened = open(copy);
    ASSERT_EQ(reopened->get_playlist_count(), 1u);
    EXPECT_EQ(bits(reopened->playlist_get_selection_mask(0), 3), "001");
}

TEST_F(Persistence, ACorruptFileIsMovedAsideNeverDeleted) {
    std::ofstream(file, std::ios::binary) << "not a database, but somebody's playlists all the same";
    auto m = open();
    EXPECT_EQ(m->get_playlist_count(), 0u);
    const std::vector<fs::path> aside = asideFiles();
    ASSERT_EQ(aside.size(), 1u);
    std::ifstream in(aside[0], std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}).rfind("not a database", 0), 0u);
    ASSERT_EQ(console.size(), 1u);
    EXPECT_NE(console[0].find(aside[0].string()), std::string::npos);

    m->create_playlist("After", SIZE_MAX, SIZE_MAX);
    m->close();
    EXPECT_EQ(name(*open(), 0), "After");
    EXPECT_EQ(asideFiles().size(), 1u);
}

TEST_F(Persistence, ADamagedPageIsCaughtAtOpening) {
    {
        auto m = open();
        m->create_playlist("Big", SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, numbered(5000), bit_array_false());
    }
    {
        std::fstream io(file, std::ios::binary | std::ios::in | std::ios::out);
        io.seekp(std::streamoff(fs::file_size(file) / 2));
        const std::string junk(8192, '\x5a');
        io.write(junk.data(), std::streamsize(junk.size()));
    }
    auto m = open();
    EXPECT_EQ(m->get_playlist_count(), 0u);
    EXPECT_EQ(asideFiles().size(), 1u);
    EXPECT_FALSE(console.empty());
}

TEST_F(Persistence, TracksThatCannotBeMadeAreLeftOut) {
    {
        auto m = open();
        m->create_playlist("A", SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, tracks({"a", "unmakeable", "c"}), bit_array_range(1, 2));
        m->playlist_set_focus_item(0, 2);
    }
    {
        auto m = open();
        EXPECT_EQ(names(*m, 0), (std::vector<std::string>{"a", "c"}));
        EXPECT_EQ(bits(m->playlist_get_selection_mask(0), 2), "01");
        EXPECT_EQ(m->playlist_get_focus_item(0), 1u);
    }
    made = 0;
    open();
    EXPECT_EQ(made, 2u);  // the file no longer holds it
}

TEST_F(Persistence, RowByRowSavingMatchesMemoryAfterAnyMixOfEdits) {
    std::mt19937 random(1234);
    auto pick = [&](size_t bound) { return bound ? size_t(random() % bound) : 0; };
    std::vector<std::string> expected;
    int fresh = 0;
    for (int round = 0; round < 6; ++round) {
        auto m = open();
        if (m->get_playlist_count() == 0) m->create_playlist("Mixed", SIZE_MAX, SIZE_MAX);
        ASSERT_EQ(names(*m, 0), expected) << "round " << round;
        for (int edit = 0; edit < 60; ++edit) {
            const size_t count = m->playlist_get_item_count(0);
            std::vector<size_t> order(count);
            for (size_t n = 0; n < count; ++n) order[n] = n;
            switch (pick(6)) {
                case 0:  // appends, and inserts anywhere
                    m->playlist_insert_items(
                        0, pick(2) ? count : pick(count + 1),
                        numbered(1 + pick(pick(4) ? 3 : 200), "n" + std::to_string(fresh++) + "-"),
                        bit_array_false());
                    break;
                case 1:  // the same spot again and again
                    m->playlist_insert_items(0, count / 2, numbered(1, "s" + std::to_string(fresh++)),
                                             bit_array_false());
                    break;
                case 2: {  // a drag of one row
                    if (count < 2) break;
                    const size_t from = pick(count);
                    order.erase(order.begin() + ptrdiff_t(from));
                    order.insert(order.begin() + ptrdiff_t(pick(count)), from);
                    m->playlist_reorder_items(0, order.data(), count);
                    break;
                }
                case 3:  // now and then a sort-like shuffle of everything
                    std::shuffle(order.begin(), order.end(), random);
                    if (pick(4) == 0) m->playlist_reorder_items(0, order.data(), count);
                    break;
                case 4: {
                    bit_array_bittable mask(count);
                    for (size_t n = 0, k = 1 + pick(pick(5) ? 3 : count); n < k; ++n)
                        mask.set(pick(count), true);
                    m->playlist_remove_items(0, mask);
                    break;
                }
                case 5:
                    if (count) m->playlist_replace_item(0, pick(count), track("r" + std::to_string(fresh++)));
                    break;
            }
            if (pick(10) == 0) {
                ASSERT_TRUE(m->flush());
            }
        }
        expected = names(*m, 0);
    }
    EXPECT_GT(expected.size(), 10u);
}
