#include "OvixTabGeometry.h"

#include <gtest/gtest.h>

namespace {

OvixTabGeometry strip(double width, std::vector<double> titles) {
    OvixTabGeometry g;
    g.resize(width, 28);
    g.layout(titles);
    return g;
}

TEST(TabGeometry, TabsFollowEachOtherBetweenMargins) {
    const OvixTabGeometry g = strip(400, {10, 10, 10});
    ASSERT_EQ(g.rects().size(), 3u);
    EXPECT_EQ(g.rects()[0], QRectF(4, 0, 34, 28));
    EXPECT_EQ(g.rects()[1], QRectF(38, 0, 34, 28));
    EXPECT_EQ(g.rects()[2], QRectF(72, 0, 34, 28));
    EXPECT_DOUBLE_EQ(g.contentWidth(), 110);
    EXPECT_FALSE(g.overflows());
    EXPECT_DOUBLE_EQ(g.visibleWidth(), 400);
    EXPECT_DOUBLE_EQ(strip(400, {250}).rects()[0].width(), 220);
    EXPECT_DOUBLE_EQ(strip(400, {}).contentWidth(), 8);
}

TEST(TabGeometry, OverflowLeavesRoomForTheArrowsAndClampsTheScroll) {
    OvixTabGeometry g = strip(300, {196, 96, 128});  // 4 + 220 + 120 + 152 + 4 = 500
    EXPECT_DOUBLE_EQ(g.contentWidth(), 500);
    EXPECT_TRUE(g.overflows());
    EXPECT_DOUBLE_EQ(g.visibleWidth(), 264);
    g.scrollTo(1000);
    EXPECT_DOUBLE_EQ(g.scroll(), 236);
    g.scrollTo(-5);
    EXPECT_DOUBLE_EQ(g.scroll(), 0);
    g.wheel(0, 1, false);  // a line up: 20 points left, stopped at the start
    EXPECT_DOUBLE_EQ(g.scroll(), 0);
    for (int i = 0; i < 20; ++i) g.wheel(0, -1, false);
    EXPECT_DOUBLE_EQ(g.scroll(), 236);
    g.wheel(30, -5, true);  // the larger delta wins, in points
    EXPECT_DOUBLE_EQ(g.scroll(), 206);
    // Growing the strip brings the scroll back into range.
    g.resize(600, 28);
    EXPECT_FALSE(g.overflows());
    EXPECT_DOUBLE_EQ(g.scroll(), 0);
}

TEST(TabGeometry, RevealingATabScrollsItJustInside) {
    OvixTabGeometry g = strip(300, {196, 96, 128});  // x 4, 224, 344; widths 220, 120, 152
    g.reveal(2);                                     // right edge 496 sits at 264 - 4
    EXPECT_DOUBLE_EQ(g.scroll(), 236);
    g.reveal(1);  // 224 is left of 236
    EXPECT_DOUBLE_EQ(g.scroll(), 220);
    g.reveal(1);
    EXPECT_DOUBLE_EQ(g.scroll(), 220);
    g.reveal(0);
    EXPECT_DOUBLE_EQ(g.scroll(), 0);
    g.reveal(7);
    g.reveal(-1);
    EXPECT_DOUBLE_EQ(g.scroll(), 0);
}

TEST(TabGeometry, HitsTabsThroughTheScrollAndNotUnderTheArrows) {
    OvixTabGeometry g = strip(300, {196, 96, 128});
    EXPECT_EQ(g.tabAt({10, 5}), 0);
    EXPECT_EQ(g.tabAt({2, 5}), -1);
    EXPECT_EQ(g.tabAt({263, 5}), 1);
    EXPECT_EQ(g.tabAt({270, 5}), -1);
    EXPECT_TRUE(g.inArrows({270, 5}));
    g.scrollTo(200);
    EXPECT_EQ(g.tabAt({10, 5}), 0);
    EXPECT_EQ(g.tabAt({30, 5}), 1);
}

TEST(TabGeometry, ArrowsStepOneTabAtATime) {
    OvixTabGeometry g = strip(300, {196, 96, 128});  // tab x - 4: 0, 220, 340 (clamped to 236)
    const QPointF left(270, 5), right(290, 5);
    g.arrowClick(right);
    EXPECT_DOUBLE_EQ(g.scroll(), 220);
    g.arrowClick(right);
    EXPECT_DOUBLE_EQ(g.scroll(), 236);
    g.arrowClick(right);
    EXPECT_DOUBLE_EQ(g.scroll(), 236);
    g.arrowClick(left);
    EXPECT_DOUBLE_EQ(g.scroll(), 220);
    g.arrowClick(left);
    EXPECT_DOUBLE_EQ(g.scroll(), 0);
    g.arrowClick(left);
    EXPECT_DOUBLE_EQ(g.scroll(), 0);
}

TEST(CycledPlaylist, ArrowsWrapAroundAndStartAtTheFirst) {
    EXPECT_EQ(cycledPlaylist(0, 3, -1), 2u);
    EXPECT_EQ(cycledPlaylist(2, 3, +1), 0u);
    EXPECT_EQ(cycledPlaylist(1, 3, +1), 2u);
    EXPECT_EQ(cycledPlaylist(SIZE_MAX, 3, -1), 0u);
    EXPECT_EQ(cycledPlaylist(SIZE_MAX, 3, +1), 0u);
    EXPECT_EQ(cycledPlaylist(0, 1, +1), 0u);
    EXPECT_EQ(cycledPlaylist(SIZE_MAX, 0, +1), SIZE_MAX);
    EXPECT_EQ(cycledPlaylist(5, 3, +1), 0u);  // a stale index counts from the last
}

}  // namespace
