// The tab strip's geometry without a window: widths, scrolling and the
// arrows, hit tests, and what a dragged tab or a drop means.

#include "Printers.h"
#include "TabStripLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Strip = TabStripLayout;

Strip strip(double width, std::vector<Strip::Tab> tabs, bool closeButtons = false) {
    Strip s;
    s.setSize(width, Strip::kHeight);
    s.setTabs(std::move(tabs), closeButtons);
    return s;
}

// Ten tabs of 60 points each (text 44) in a strip 200 wide.
Strip overflowing() { return strip(200, std::vector<Strip::Tab>(10, {44, false})); }

TEST(TabStripLayout, TabWidthsAddPaddingCloseBoxAndLockUpToTheCap) {
    const Strip s = strip(1000, {{50, false}, {50, true}, {500, false}, {0, false}}, true);
    EXPECT_EQ(s.rectOf(0), QRectF(2, 3, 80, 21));   // text + 16 padding + 14 close box
    EXPECT_EQ(s.rectOf(1), QRectF(83, 3, 93, 21));  // + 13 for the lock
    EXPECT_EQ(s.rectOf(2), QRectF(177, 3, 240, 21));
    EXPECT_EQ(s.rectOf(3), QRectF(418, 3, 30, 21));  // an empty name still has its padding
    EXPECT_EQ(s.contentWidth(), 448 + 1 + 2);
    EXPECT_FALSE(s.overflows());
    EXPECT_EQ(s.visibleWidth(), 1000);

    // Where the title goes: after the lock, before the close box.
    EXPECT_EQ(s.textX(0), 10);
    EXPECT_EQ(s.textWidth(0), 80 - 8 - 14 - 8);
    EXPECT_EQ(s.textX(1), 83 + 8 + 13);
    EXPECT_EQ(s.lockRectOf(1), QRectF(91, 8.5, 9, 10));
    EXPECT_EQ(s.closeRectOf(0), QRectF(65, 6.5, 14, 14));

    const Strip plain = strip(1000, {{50, false}});
    EXPECT_EQ(plain.rectOf(0).width(), 66);
    EXPECT_EQ(plain.textWidth(0), 50);
}

TEST(TabStripLayout, NoPlaylistsIsAnEmptyStripOfFourPoints) {
    const Strip s = strip(300, {});
    EXPECT_EQ(s.count(), 0u);
    EXPECT_EQ(s.contentWidth(), 4);
    EXPECT_EQ(s.tabAt({10, 10}), -1);
    EXPECT_EQ(s.insertIndexAt(100), 0);
    EXPECT_EQ(s.rectOf(0), QRectF());
    EXPECT_EQ(s.closeRectOf(5), QRectF(-17, -7, 14, 14));
}

TEST(TabStripLayout, PointsHitTheTabUnderThemButNeverTheArrows) {
    Strip s = overflowing();
    ASSERT_TRUE(s.overflows());
    EXPECT_EQ(s.visibleWidth(), 164);
    EXPECT_EQ(s.tabAt({2, 10}), 0);
    EXPECT_EQ(s.tabAt({61.9, 10}), 0);
    EXPECT_EQ(s.tabAt({62, 10}), -1);  // the gap between tabs
    EXPECT_EQ(s.tabAt({63, 10}), 1);
    EXPECT_EQ(s.tabAt({30, 2}), -1);  // above the tabs
    EXPECT_EQ(s.tabAt({170, 10}), -1);
    EXPECT_EQ(s.arrowAt({163.9, 10}), Strip::Arrow::None);
    EXPECT_EQ(s.arrowAt({164, 10}), Strip::Arrow::Left);
    EXPECT_EQ(s.arrowAt({181.9, 10}), Strip::Arrow::Left);
    EXPECT_EQ(s.arrowAt({182, 10}), Strip::Arrow::Right);

    s.scrollTo(100);
    EXPECT_EQ(s.tabAt({2, 10}), 1);  // content x 102
    EXPECT_EQ(s.insertIndexAt(0), 2);
    EXPECT_EQ(s.visibleRectOf(0), QRectF());
    EXPECT_EQ(s.visibleRectOf(1), QRectF(0, 3, 23, 21));

    const Strip fits = strip(400, {{44, false}, {44, false}});
    EXPECT_EQ(fits.arrowAt({399, 10}), Strip::Arrow::None);
    EXPECT_EQ(fits.tabAt({120, 10}), 1);
}

TEST(TabStripLayout, ArrowsPageOneTabAtATimeAndStopAtTheEnds) {
    Strip s = overflowing();
    const double max = s.maxScroll();
    EXPECT_EQ(max, s.contentWidth() - 164);
    s.pageLeft();
    EXPECT_EQ(s.scroll(), 0);
    s.pageRight();
    EXPECT_EQ(s.scroll(), 61);  // the second tab's x - 2
    s.pageRight();
    EXPECT_EQ(s.scroll(), 122);
    for (int i = 0; i < 20; ++i) s.pageRight();
    EXPECT_EQ(s.scroll(), max);
    s.pageLeft();
    EXPECT_LT(s.scroll(), max);
    EXPECT_EQ(s.scroll(), 427);  // the tab starting left of the view: x 429 - 2
    s.scrollTo(61);
    s.pageLeft();
    EXPECT_EQ(s.scroll(), 0);
}

TEST(TabStripLayout, ScrollingStaysWithinTheContentAndRevealsTabs) {
    Strip s = overflowing();
    s.scrollTo(-20);
    EXPECT_EQ(s.scroll(), 0);
    s.scrollTo(10000);
    EXPECT_EQ(s.scroll(), s.maxScroll());

    s.scrollTo(0);
    s.reveal(5);  // right edge 366 → scroll so it ends 2 points inside the view
    EXPECT_EQ(s.scroll(), s.rectOf(5).right() - 164 + 2);
    s.reveal(1);
    EXPECT_EQ(s.scroll(), s.rectOf(1).x() - 2);
    const double before = s.scroll();
    s.reveal(1);
    s.reveal(-1);
    s.reveal(99);
    EXPECT_EQ(s.scroll(), before);

    // A wheel turn of one line is 20 points; the larger direction counts.
    s.scrollTo(100);
    s.wheel(0, -1, false);
    EXPECT_EQ(s.scroll(), 120);
    s.wheel(3, -1, false);
    EXPECT_EQ(s.scroll(), 60);
    s.wheel(0, 7.5, true);
    EXPECT_EQ(s.scroll(), 52.5);

    // Fewer tabs: the scroll is clamped again.
    s.scrollTo(s.maxScroll());
    s.setTabs(std::vector<Strip::Tab>(3, {44, false}), false);
    EXPECT_EQ(s.scroll(), s.maxScroll());
    s.setSize(800, Strip::kHeight);
    EXPECT_EQ(s.scroll(), 0);
}

TEST(TabStripLayout, ADraggedTabGoesBeforeTheFirstTabWhoseMiddleIsPast) {
    const Strip s = strip(1000, std::vector<Strip::Tab>(3, {44, false}));
    // Tab middles at 32, 93, 154.
    EXPECT_EQ(s.insertIndexAt(0), 0);
    EXPECT_EQ(s.insertIndexAt(31.9), 0);
    EXPECT_EQ(s.insertIndexAt(32), 1);
    EXPECT_EQ(s.insertIndexAt(100), 2);
    EXPECT_EQ(s.insertIndexAt(500), 3);
}

TEST(TabStripLayout, ReorderMovesOnePlaylistAndLeavesNoOpsAlone) {
    using Order = std::vector<size_t>;
    EXPECT_EQ(Strip::reorder(0, 3, 3), Order({1, 2, 0}));  // the first after the last
    EXPECT_EQ(Strip::reorder(2, 0, 3), Order({2, 0, 1}));
    EXPECT_EQ(Strip::reorder(1, 3, 4), Order({0, 2, 1, 3}));
    EXPECT_EQ(Strip::reorder(3, 1, 4), Order({0, 3, 1, 2}));
    // Onto itself or just after itself: the order stays.
    EXPECT_FALSE(Strip::reorder(1, 1, 3));
    EXPECT_FALSE(Strip::reorder(1, 2, 3));
    EXPECT_FALSE(Strip::reorder(1, -1, 3));
    // A strip a turn behind the player: the move does not fit, nothing moves.
    EXPECT_FALSE(Strip::reorder(5, 0, 3));
    EXPECT_FALSE(Strip::reorder(3, 0, 3));
    EXPECT_FALSE(Strip::reorder(0, 1, 1));
}

TEST(TabStripLayout, DropsGoToTheirTabOrToANewPlaylist) {
    EXPECT_EQ(Strip::dropTarget(1, 3), 1);
    EXPECT_EQ(Strip::dropTarget(-1, 3), -1);
    EXPECT_EQ(Strip::dropTarget(3, 3), -1);  // the playlist is gone meanwhile
    EXPECT_EQ(Strip::dropTarget(0, 0), -1);
}

TEST(TabMove, WaitsForFivePointsThenFollowsAndScrollsAtTheEdges) {
    Strip s = overflowing();
    TabMove move(1, 90);
    EXPECT_FALSE(move.dragTo(94, s));
    EXPECT_FALSE(move.dragTo(86, s));
    EXPECT_FALSE(move.moved());
    EXPECT_EQ(move.target(), -1);

    EXPECT_TRUE(move.dragTo(140, s));
    EXPECT_TRUE(move.moved());
    EXPECT_EQ(move.target(), 2);
    EXPECT_EQ(s.scroll(), 0);
    // Once moving, small steps count too.
    EXPECT_TRUE(move.dragTo(139, s));

    EXPECT_TRUE(move.dragTo(160, s));  // within 10 of the arrows
    EXPECT_EQ(s.scroll(), 12);
    EXPECT_TRUE(move.dragTo(160, s));
    EXPECT_EQ(s.scroll(), 24);
    EXPECT_TRUE(move.dragTo(5, s));
    EXPECT_EQ(s.scroll(), 12);
    EXPECT_EQ(move.target(), 0);
}

TEST(TabTitle, ShowsNamesOnOneLine) {
    EXPECT_EQ(tabTitle(QStringLiteral("Road Trip")), QStringLiteral("Road Trip"));
    EXPECT_EQ(tabTitle(QStringLiteral("a\nb\tc\x01")), QStringLiteral("a b c "));
    EXPECT_EQ(tabTitle(QStringLiteral("x\u2028y\u2029z")), QStringLiteral("x y z"));
    // Direction marks stay: right-to-left names need them.
    EXPECT_EQ(tabTitle(QStringLiteral("\u200F\u05E9\u05DC\u05D5\u05DD")),
              QStringLiteral("\u200F\u05E9\u05DC\u05D5\u05DD"));
    EXPECT_EQ(tabTitle(QString()), QString());
}

}  // namespace
