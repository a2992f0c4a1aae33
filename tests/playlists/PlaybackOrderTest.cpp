// Next and previous under each playback order.

#include "TestServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace playlists;

namespace {

constexpr auto kNone = std::nullopt;

struct Orders : ::testing::Test {
    PlaybackOrder order{42};
    metadb_handle_list items = numbered(5);
    ShuffleSequence shuffle;

    OrderInput input(OrderKind kind, OrderCursor cursor, bool manual = false) {
        OrderInput in;
        in.order = kind;
        in.items = &items;
        in.cursor = cursor;
        in.shuffle = &shuffle;
        in.manual = manual;
        return in;
    }
    static std::optional<size_t> item(std::optional<OrderStep> step) {
        if (step) {
            EXPECT_FALSE(step->fromQueue);
        }
        return step ? std::optional<size_t>(step->item) : std::nullopt;
    }
    std::optional<size_t> next(OrderKind kind, size_t current, bool manual = false) {
        return item(order.next(input(kind, {current}, manual)));
    }
    std::optional<size_t> previous(OrderKind kind, size_t current) {
        return item(order.previous(input(kind, {current}, true)));
    }
    // `count` steps of `kind` from nothing: the items played.
    std::vector<size_t> play(OrderKind kind, size_t count) {
        std::vector<size_t> out;
        for (size_t current = SIZE_MAX; out.size() < count;) {
            const auto step = next(kind, current);
            if (!step) break;
            out.push_back(current = *step);
        }
        return out;
    }
};

}  // namespace

TEST_F(Orders, DefaultAndRepeatsAtTheEnds) {
    EXPECT_EQ(next(OrderKind::Default, SIZE_MAX), 0u);
    EXPECT_EQ(next(OrderKind::Default, 1), 2u);
    EXPECT_EQ(next(OrderKind::Default, 4), kNone);
    EXPECT_EQ(previous(OrderKind::Default, 0), kNone);
    EXPECT_EQ(previous(OrderKind::Default, SIZE_MAX), kNone);
    EXPECT_EQ(next(OrderKind::RepeatPlaylist, 4), 0u);
    EXPECT_EQ(previous(OrderKind::RepeatPlaylist, 0), 4u);
    EXPECT_EQ(next(OrderKind::RepeatTrack, 2), 2u);
    // The user's next and previous move on even when repeating a track.
    EXPECT_EQ(next(OrderKind::RepeatTrack, 2, true), 3u);
    EXPECT_EQ(next(OrderKind::RepeatTrack, 4, true), kNone);
    EXPECT_EQ(previous(OrderKind::RepeatTrack, 2), 1u);
}

TEST_F(Orders, ARemovedCurrentItemContinuesFromItsPlace) {
    // Item 2 was playing and went: what was item 3 now sits at 2.
    EXPECT_EQ(item(order.next(input(OrderKind::Default, {2, true}))), 2u);
    EXPECT_EQ(item(order.previous(input(OrderKind::Default, {2, true}))), 1u);
    EXPECT_EQ(item(order.next(input(OrderKind::Default, {5, true}))), kNone);
    EXPECT_EQ(item(order.next(input(OrderKind::RepeatPlaylist, {5, true}))), 0u);
    EXPECT_EQ(item(order.next(input(OrderKind::RepeatTrack, {2, true}))), 2u);
}

TEST_F(Orders, QueueComesFirstForNextOnlyAndEmptyPlaylistsHaveNothing) {
    OrderInput in = input(OrderKind::Default, {1});
    in.queued = 2;
    EXPECT_TRUE(order.next(in)->fromQueue);
    EXPECT_EQ(order.previous(in)->item, 0u);
    items.clear();
    EXPECT_TRUE(order.next(in)->fromQueue);  // the queue plays even then
    for (size_t k = 0; k < kOrderCount; ++k) {
        EXPECT_EQ(next(OrderKind(k), SIZE_MAX), kNone);
        EXPECT_EQ(previous(OrderKind(k), 0), kNone);
    }
}

TEST_F(Orders, RandomNeverRepeatsTheCurrentAndReachesEveryItem) {
    std::set<size_t> seen;
    for (size_t n = 0, current = 0; n < 200; ++n) {
        const auto step = next(OrderKind::Random, current);
        ASSERT_TRUE(step);
        EXPECT_NE(*step, current);
        seen.insert(current = *step);
    }
    EXPECT_EQ(seen.size(), 5u);
    items.resize(1);
    EXPECT_EQ(next(OrderKind::Random, 0), 0u);
}

TEST_F(Orders, ShuffleTracksPlaysEachOnceARoundAndRetracesBack) {
    const std::vector<size_t> round = play(OrderKind::ShuffleTracks, 5);
    ASSERT_EQ(std::set<size_t>(round.begin(), round.end()).size(), 5u);
    for (size_t n = 4; n > 0; --n) EXPECT_EQ(previous(OrderKind::ShuffleTracks, round[n]), round[n - 1]);
    EXPECT_EQ(previous(OrderKind::ShuffleTracks, round[0]), kNone);
    // Shuffling never stops: a new round, not opening with the track just heard.
    const auto again = next(OrderKind::ShuffleTracks, round[4]);
    ASSERT_TRUE(again);
    EXPECT_NE(*again, round[4]);
}

TEST_F(Orders, ShuffleSequenceSurvivesEditsOfThePlaylist) {
    const std::vector<size_t> round = play(OrderKind::ShuffleTracks, 3);
    // Two items inserted at the front: everyone moves up two, the past stays.
    shuffle.inserted(0, 2, shuffle.rankOf(round[2]), order.random());
    items.insert(items.begin(), {track("x"), track("y")});
    EXPECT_EQ(previous(OrderKind::ShuffleTracks, round[2] + 2), round[1] + 2);
    EXPECT_EQ(previous(OrderKind::ShuffleTracks, round[1] + 2), round[0] + 2);
    // The new ones are among those still to come.
    std::set<size_t> rest;
    for (size_t current = round[2] + 2, n = 0; n < 4; ++n)
        rest.insert(current = *next(OrderKind::ShuffleTracks, current));
    EXPECT_EQ(rest.size(), 4u);
    EXPECT_TRUE(rest.count(0) && rest.count(1));
}

TEST_F(Orders, ShuffleFoldersKeepsEachRunTogetherInOrder) {
    // a a a | b b | c | a a: the last run is a group of its own.
    items.clear();
    for (const char* path : {"A/1", "A/2", "A/3", "B/1", "B/2", "C/1", "A/4", "A/5"})
        items.push_back(track(path));
    const std::vector<size_t> round = play(OrderKind::ShuffleFolders, 8);
    ASSERT_EQ(round.size(), 8u);
    std::vector<std::vector<size_t>> runs;
    for (size_t n = 0; n < round.size(); ++n) {
        if (n == 0 || round[n] != round[n - 1] + 1) runs.emplace_back();
        runs.back().push_back(round[n]);
    }
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(runs, (std::vector<std::vector<size_t>>{{0, 1, 2}, {3, 4}, {5}, {6, 7}}));
    // Previous from a group's first track is the last track of the group before.
    for (size_t n = 1; n < round.size(); ++n)
        EXPECT_EQ(previous(OrderKind::ShuffleFolders, round[n]), round[n - 1]);
}

TEST_F(Orders, ShuffleAlbumsGroupsByTheInjectedKey) {
    items = tracks({"xa", "xb", "ya", "xc"});  // album = first letter: xa xb | ya | xc
    order.setGroupKey([](const service_ptr_t<metadb_handle>& t, Grouping g) {
        EXPECT_EQ(g, Grouping::Album);
        return nameOf(t).substr(0, 1);
    });
    const std::vector<size_t> round = play(OrderKind::ShuffleAlbums, 4);
    ASSERT_EQ(round.size(), 4u);
    const auto first = std::find(round.begin(), round.end(), 0u);
    ASSERT_LT(first + 1, round.end());
    EXPECT_EQ(*(first + 1), 1u);
}

TEST(OrdersThroughTheManager, FollowTheActiveOrderAndThePlayingItem) {
    auto m = newManager();
    m->create_playlist("A", SIZE_MAX, SIZE_MAX);
    m->playlist_add_items(0, numbered(4), bit_array_false());
    EventLog log;
    m->register_callback(&log, playlist_callback::flag_on_playback_order_changed);
    m->playback_order_set_active(1);
    m->playback_order_set_active(1);
    m->playback_order_set_active(99);
    m->unregister_callback(&log);
    EXPECT_EQ(log.events, std::vector<std::string>{"order 1"});
    EXPECT_STREQ(m->playback_order_get_name(m->playback_order_get_active()), "Repeat (playlist)");

    EXPECT_FALSE(m->nextTrack(false));  // nothing played, nothing active
    m->set_active_playlist(0);
    EXPECT_EQ(m->nextTrack(false)->item, 0u);
    m->setPlayingLocation(0, 3);
    EXPECT_EQ(m->nextTrack(false)->item, 0u);
    m->playback_order_set_active(0);
    EXPECT_FALSE(m->nextTrack(false));

    // The playing item removed: next is the one that took its place.
    m->setPlayingLocation(0, 1);
    m->playlist_remove_items(0, bit_array_one(1));
    EXPECT_EQ(nameOf(m->nextTrack(false)->track), "t2");
    EXPECT_EQ(nameOf(m->previousTrack()->track), "t0");
    EXPECT_EQ(m->randomTrack()->playlist, 0u);
}

TEST(OrdersThroughTheManager, ShuffleContinuesPastARemovedPlayingItem) {
    auto m = newManager();
    m->create_playlist("A", SIZE_MAX, SIZE_MAX);
    m->playlist_add_items(0, numbered(6), bit_array_false());
    m->set_active_playlist(0);
    m->playback_order_set_active(size_t(OrderKind::ShuffleTracks));
    std::vector<std::string> played;
    auto step = m->nextTrack(false);
    for (int n = 0; n < 3; ++n) {
        m->setPlayingLocation(step->playlist, step->item);
        played.push_back(nameOf(step->track));
        step = m->nextTrack(false);
    }
    const std::string upcoming = nameOf(step->track);
    size_t p, i;
    ASSERT_TRUE(m->get_playing_item_location(p, i));
    m->playlist_remove_items(0, bit_array_one(i));
    EXPECT_EQ(nameOf(m->nextTrack(false)->track), upcoming);
    EXPECT_EQ(nameOf(m->previousTrack()->track), played[1]);
}
