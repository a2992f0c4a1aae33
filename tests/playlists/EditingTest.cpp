// Playlists and items: what each operation leaves behind, and what it refuses.

#include "TestServices.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

namespace {

struct Editing : ::testing::Test {
    service_ptr_t<playlists::PlaylistManager> m = newManager();
    void SetUp() override {
        m->create_playlist("A", SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, tracks({"a", "b", "c", "d"}), bit_array_false());
    }
};

}  // namespace

TEST_F(Editing, IndicesPastTheEndAreRefusedQuietly) {
    EXPECT_EQ(m->playlist_insert_items(5, 0, tracks({"x"}), bit_array_true()), SIZE_MAX);
    EXPECT_FALSE(m->playlist_remove_items(5, bit_array_true()));
    EXPECT_FALSE(m->playlist_rename(5, "x", SIZE_MAX));
    EXPECT_FALSE(m->playlist_get_item_handle(0, 4).is_valid());
    EXPECT_EQ(m->playlist_get_selection_mask(5).size(), 0u);
    m->set_active_playlist(0);
    m->set_active_playlist(7);
    EXPECT_EQ(m->get_active_playlist(), 0u);
    m->playlist_set_focus_item(0, 4);
    EXPECT_EQ(m->playlist_get_focus_item(0), SIZE_MAX);
    EXPECT_FALSE(m->remove_playlists(bit_array_one(3)));
    EXPECT_EQ(m->create_playlist(nullptr, 0, 0), SIZE_MAX);
    EXPECT_EQ(m->get_playlist_count(), 1u);
}

TEST_F(Editing, InsertPastTheEndAppendsAndSkipsNullTracks) {
    metadb_handle_list data = tracks({"x", "y"});
    data.insert(data.begin() + 1, service_ptr_t<metadb_handle>());
    // The selection is over the caller's list: the null entry's bit goes with it.
    EXPECT_EQ(m->playlist_insert_items(0, 99, data, bit_array_range(1, 2)), 4u);
    EXPECT_EQ(names(*m, 0), (Names{"a", "b", "c", "d", "x", "y"}));
    EXPECT_EQ(bits(m->playlist_get_selection_mask(0), 6), "000001");
    EXPECT_EQ(m->create_playlist("Cut\0here", 8, 0), 0u);
    cvk::stringLite name;
    m->playlist_get_name(0, name);
    EXPECT_STREQ(name.c_str(), "Cut");
}

TEST_F(Editing, RemoveSelectionAndCrop) {
    m->playlist_set_selection(0, bit_array_true(), bit_array_range(1, 2));
    EXPECT_TRUE(m->playlist_remove_selection(0, true));
    EXPECT_EQ(names(*m, 0), (Names{"b", "c"}));
    EXPECT_EQ(bits(m->playlist_get_selection_mask(0), 2), "11");
    EXPECT_TRUE(m->playlist_remove_selection(0));
    EXPECT_FALSE(m->playlist_remove_selection(0));
}

TEST_F(Editing, FocusFollowsRemoval) {
    m->playlist_set_focus_item(0, 3);
    m->playlist_remove_items(0, bit_array_one(3));
    EXPECT_EQ(m->playlist_get_focus_item(0), 2u);  // the last went: the new last
    m->playlist_remove_items(0, bit_array_true());
    EXPECT_EQ(m->playlist_get_focus_item(0), SIZE_MAX);
}

TEST_F(Editing, PlayingLocationFollowsEditsAndEndsWithItsItem) {
    size_t p = 9, i = 9;
    m->setPlayingLocation(0, 2);
    m->playlist_insert_items(0, 0, tracks({"x"}), bit_array_false());
    const size_t reverse[] = {4, 3, 2, 1, 0};
    m->playlist_reorder_items(0, reverse, 5);
    m->create_playlist("Before", SIZE_MAX, 0);
    ASSERT_TRUE(m->get_playing_item_location(p, i));
    EXPECT_EQ(p, 1u);
    EXPECT_EQ(i, 1u);
    m->playlist_remove_items(1, bit_array_one(1));
    EXPECT_FALSE(m->get_playing_item_location(p, i));
    m->setPlayingLocation(1, 0);
    m->clearPlayingLocation();
    EXPECT_FALSE(m->get_playing_item_location(p, i));
}

TEST_F(Editing, DefaultActionPlaysThroughTheHost) {
    EXPECT_FALSE(m->playlist_execute_default_action(0, 1));  // nothing to play it with yet
    std::vector<size_t> played;
    m->setPlayItem([&](size_t, size_t item) {
        played.push_back(item);
        return true;
    });
    EXPECT_TRUE(m->playlist_execute_default_action(0, 1));
    EXPECT_FALSE(m->playlist_execute_default_action(0, 4));
    EXPECT_EQ(played, std::vector<size_t>{1});
}

TEST_F(Editing, Properties) {
    constexpr GUID key{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    std::vector<uint8_t> out{9};
    EXPECT_FALSE(m->playlist_get_property(0, key, out));
    EXPECT_TRUE(out.empty());
    const uint8_t one = 1;
    EXPECT_TRUE(m->playlist_set_property(0, key, &one, 1));
    EXPECT_TRUE(m->playlist_get_property(0, key, out));
    EXPECT_EQ(out, std::vector<uint8_t>{1});
    EXPECT_FALSE(m->playlist_set_property(0, key, nullptr, 4));
    EXPECT_FALSE(m->playlist_set_property(3, key, &one, 1));
    EXPECT_TRUE(m->playlist_remove_property(0, key));
    EXPECT_FALSE(m->playlist_remove_property(0, key));
    EXPECT_FALSE(m->playlist_have_property(0, key));
}

TEST(EditingAtScale, HundredThousandItemsKeepSelectionStraight) {
    auto m = newManager();
    m->create_playlist("Big", SIZE_MAX, SIZE_MAX);
    const metadb_handle_list items = numbered(100000);
    m->playlist_add_items(0, items, bit_array_false());
    m->playlist_set_selection(0, bit_array_true(), bit_array_true());
    // Every third item deselected, then the selection removed: those stay.
    bit_array_bittable keep(100000);
    for (size_t n = 0; n < 100000; n += 3) keep.set(n, true);
    m->playlist_set_selection(0, keep, bit_array_false());
    EXPECT_TRUE(m->playlist_remove_selection(0));
    ASSERT_EQ(m->playlist_get_item_count(0), 33334u);
    EXPECT_EQ(m->playlist_get_item_handle(0, 1), items[3]);
    EXPECT_EQ(m->playlist_get_item_handle(0, 33333), items[99999]);

    m->playlist_add_items(0, numbered(50000, "u"), bit_array_true());
    const bit_array_bittable sel = m->playlist_get_selection_mask(0);
    EXPECT_EQ(sel.size(), 83334u);
    EXPECT_EQ(sel.find(true, 0, 83334), 33334u);
    EXPECT_EQ(sel.calc_count(true, 0, 83334), 50000u);
}
