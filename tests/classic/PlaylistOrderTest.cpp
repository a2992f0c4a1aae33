// Where dropped rows go, the order a column sorts into, and what a search finds.

#include "DropOrder.h"
#include "PlaylistSearch.h"
#include "PlaylistSort.h"

#include <gtest/gtest.h>

namespace {

using Order = std::vector<size_t>;

TEST(DropOrder, DraggedItemsLandTogetherInTheGapInPlaylistOrder) {
    struct Case {
        Order dragged;
        size_t target;
        Order expected;
    };
    const Case cases[] = {
        {{2, 5}, 4, {0, 1, 3, 2, 5, 4}},     {{5, 2}, 4, {0, 1, 3, 2, 5, 4}},  // in any order
        {{0}, 6, {1, 2, 3, 4, 5, 0}},                                          // to the end
        {{4, 5}, 0, {4, 5, 0, 1, 2, 3}},                                       // to the start
        {{2, 3}, 3, {0, 1, 2, 3, 4, 5}},      // into their own gap: nothing moves
        {{1, 1, 9}, 99, {0, 2, 3, 4, 5, 1}},  // twice, past the end, a target past the end
    };
    for (const Case& c : cases) EXPECT_EQ(dropOrder(6, c.dragged, c.target), c.expected) << c.target;
    EXPECT_EQ(dropOrder(0, {0}, 0), Order{});
}

TEST(PlaylistSort, NumbersByValueCaseIgnoredStableBothWays) {
    const std::vector<QString> keys{"Track 10", "track 2", "B", "Track 2", "a", "B"};
    // "track 2" and "Track 2" differ only in case: a fixed order, not a tie.
    EXPECT_EQ(sortOrder(keys, false), (Order{4, 2, 5, 1, 3, 0}));
    EXPECT_EQ(sortOrder(keys, true), (Order{0, 3, 1, 2, 5, 4}));

    // Equal keys keep their playlist order in both directions.
    const std::vector<QString> lengths{"3:00", "2:00", "3:00", "2:00"};
    EXPECT_EQ(sortOrder(lengths, false), (Order{1, 3, 0, 2}));
    EXPECT_EQ(sortOrder(lengths, true), (Order{0, 2, 1, 3}));
    EXPECT_EQ(sortOrder({}, false), Order{});
}

TEST(PlaylistSearch, EveryWordMustOccurIgnoringCaseAndAccents) {
    const PlaylistSearch two(QStringLiteral("  lanterns   MORNING "));
    EXPECT_TRUE(two.matches(QStringLiteral("The Lanterns Morning Light Harbour Lights")));
    EXPECT_FALSE(two.matches(QStringLiteral("The Lanterns River Song")));
    EXPECT_TRUE(PlaylistSearch(QStringLiteral("resume")).matches(QStringLiteral("Café Tacvba Résumé")));
    EXPECT_TRUE(PlaylistSearch(QStringLiteral("CAFÉ")).matches(QStringLiteral("cafe")));
    EXPECT_FALSE(PlaylistSearch(QStringLiteral("ae")).matches(QStringLiteral("Æon")));
    // Only blanks: no word left out, so every item is found.
    EXPECT_TRUE(PlaylistSearch(QStringLiteral("   ")).matches(QStringLiteral("anything")));
}

}  // namespace
