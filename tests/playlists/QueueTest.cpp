// The playback queue: order, removal by mask, and the callbacks that follow.

#include "TestServices.h"

#include <gtest/gtest.h>

using Origins = std::vector<playback_queue_callback::t_change_origin>;
using Strings = std::vector<std::string>;

namespace {

struct Queue : ::testing::Test {
    service_ptr_t<playlists::PlaylistManager> m = newManager();
    void SetUp() override {
        m->create_playlist("A", SIZE_MAX, SIZE_MAX);
        m->create_playlist("B", SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, tracks({"a0", "a1", "a2", "a3"}), bit_array_false());
        m->playlist_add_items(1, tracks({"b0", "b1"}), bit_array_false());
    }
    // "name@playlist:item", "name@-" for a track queued on its own.
    Strings contents() {
        std::vector<t_playback_queue_item> items;
        m->queue_get_contents(items);
        Strings out;
        for (const auto& e : items)
            out.push_back(nameOf(e.handle) + "@" +
                          (e.playlist == SIZE_MAX ? "-" : num(e.playlist) + ":" + num(e.item)));
        return out;
    }
};

constexpr auto kAdded = playback_queue_callback::changed_user_added;
constexpr auto kRemoved = playback_queue_callback::changed_user_removed;

}  // namespace

TEST_F(Queue, KeepsTheOrderOfAddingAndRemovesByMask) {
    m->queue_add_item_playlist(0, 2);
    m->queue_add_item(track("loose"));
    m->queue_add_item_playlist(1, 0);
    m->queue_add_item_playlist(0, 2);
    m->queue_add_item_playlist(0, 9);  // out of range: nothing
    m->queue_add_item(nullptr);
    EXPECT_EQ(contents(), (Strings{"a2@0:2", "loose@-", "b0@1:0", "a2@0:2"}));

    bit_array_bittable mask(4);
    mask.set(1, true);
    mask.set(3, true);
    m->queue_remove_mask(mask);
    m->queue_remove_mask(bit_array_false());
    EXPECT_EQ(contents(), (Strings{"a2@0:2", "b0@1:0"}));
    m->queue_flush();
    m->queue_flush();
    EXPECT_EQ(m->queue_get_count(), 0u);
    EXPECT_EQ(queueChanges(), (Origins{kAdded, kAdded, kAdded, kAdded, kRemoved, kRemoved}));
}

TEST_F(Queue, EntriesFollowTheirItemsAndGoWithThem) {
    m->queue_add_item_playlist(0, 1);
    m->queue_add_item_playlist(0, 3);
    m->queue_add_item_playlist(1, 1);
    queueChanges().clear();

    m->playlist_insert_items(0, 0, tracks({"new"}), bit_array_false());
    const size_t reverse[] = {4, 3, 2, 1, 0};
    m->playlist_reorder_items(0, reverse, 5);
    EXPECT_EQ(contents(), (Strings{"a1@0:2", "a3@0:0", "b1@1:1"}));
    EXPECT_TRUE(queueChanges().empty());

    m->playlist_remove_items(0, bit_array_one(0));
    const size_t swap[] = {1, 0};
    m->reorder_playlists(swap, 2);
    EXPECT_EQ(contents(), (Strings{"a1@1:1", "b1@0:1"}));
    m->remove_playlist(1);
    EXPECT_EQ(contents(), (Strings{"b1@0:1"}));
    EXPECT_EQ(queueChanges(), (Origins{kRemoved, kRemoved}));
}

TEST_F(Queue, NextTakesTheQueueFirst) {
    m->setPlayingLocation(1, 0);
    m->queue_add_item_playlist(0, 1);
    m->queue_add_item(track("loose"));
    queueChanges().clear();

    auto step = m->nextTrack(false);
    ASSERT_TRUE(step);
    EXPECT_EQ(num(step->playlist) + ":" + num(step->item), "0:1");
    EXPECT_EQ(queueChanges(), Origins{playback_queue_callback::changed_playback_advance});
    m->setPlayingLocation(step->playlist, step->item);
    EXPECT_EQ(m->previousTrack()->item, 0u);  // previous never takes from the queue
    EXPECT_EQ(m->queue_get_count(), 1u);

    step = m->nextTrack(true);
    ASSERT_TRUE(step);
    EXPECT_EQ(num(step->playlist) + ":" + num(step->item) + " " + nameOf(step->track), "none:none loose");
    // A track from no playlist: the order carries on from the last playlist position.
    m->setPlayingLocation(SIZE_MAX, SIZE_MAX);
    size_t p, i;
    EXPECT_FALSE(m->get_playing_item_location(p, i));
    step = m->nextTrack(false);
    ASSERT_TRUE(step);
    EXPECT_EQ(num(step->playlist) + ":" + num(step->item), "0:2");
}
