#include "OvixRows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Item {
    const char* group;
    double length = 180;
};

OvixRows build(std::initializer_list<Item> items) {
    OvixRowBuilder b(items.size());
    for (const Item& i : items) b.add(i.group, "line 1", "line 2", "3:00", i.length);
    return b.finish();
}

// "H group (totals)" for headers, "T item" for tracks.
std::vector<std::string> shape(const OvixRows& r) {
    std::vector<std::string> out;
    for (const OvixRow& row : r.rows) {
        if (row.header)
            out.push_back("H " + r[row.line1].toString().toStdString() + " (" +
                          r[row.line2].toString().toStdString() + ")");
        else
            out.push_back("T " + std::to_string(row.item));
    }
    return out;
}

using Shape = std::vector<std::string>;

TEST(OvixRows, ConsecutiveItemsOfOneGroupShareAHeaderWithTheirTotals) {
    const OvixRows r = build({{"A - X", 200.4}, {"A - X", 200.4}, {"A - X", 0}, {"B", 60}});
    EXPECT_EQ(shape(r), (Shape{"H A - X (3 / 6:41)", "T 0", "T 1", "T 2", "H B (1 / 1:00)", "T 3"}));
    EXPECT_EQ(r.itemToRow, (std::vector<size_t>{1, 2, 3, 5}));
    EXPECT_EQ(r.rows[1].number, 1u);
    EXPECT_EQ(r.rows[5].number, 4u);
    EXPECT_TRUE(r[r.rows[0].right].isEmpty());
    EXPECT_EQ(r[r.rows[5].line1], u"line 1");
    EXPECT_EQ(r[r.rows[5].line2], u"line 2");
    EXPECT_EQ(r[r.rows[5].right], u"3:00");
}

TEST(OvixRows, EqualGroupsApartAreSeparateGroups) {
    const OvixRows r = build({{"A"}, {"B"}, {"A"}, {"A"}});
    EXPECT_EQ(shape(r),
              (Shape{"H A (1 / 3:00)", "T 0", "H B (1 / 3:00)", "T 1", "H A (2 / 6:00)", "T 2", "T 3"}));
}

TEST(OvixRows, UnknownLengthsAddNothing) {
    const OvixRows r = build({{"A", 0}, {"A", -1}, {"A", std::nan("")}});
    EXPECT_EQ(shape(r), (Shape{"H A (3 / 0:00)", "T 0", "T 1", "T 2"}));
}

TEST(OvixRows, TextsAreKeptAsTheyReadAndBrokenOnesAsNothing) {
    OvixRowBuilder b(2);
    b.add("B\xc3\xa9la", "\xe6\x97\xa5\xe6\x9c\xac", "bad \xff", "1:00", 60);
    b.add("B\xc3\xa9la", "x", "y", "", 0);
    const OvixRows r = b.finish();
    EXPECT_EQ(r[r.rows[0].line1], u"B\u00e9la");
    EXPECT_EQ(r[r.rows[1].line1], u"\u65e5\u672c");
    EXPECT_TRUE(r[r.rows[1].line2].isEmpty());
    EXPECT_EQ(r[r.rows[2].line2], u"y");
    EXPECT_EQ(r[r.rows[0].line2], u"2 / 1:00");
}

TEST(OvixRows, TheFirstItemOpensAGroupEvenWithoutGroupText) {
    EXPECT_EQ(shape(build({{""}, {""}, {"A"}})),
              (Shape{"H  (2 / 6:00)", "T 0", "T 1", "H A (1 / 3:00)", "T 2"}));
    EXPECT_TRUE(build({}).rows.empty());
}

TEST(OvixRows, LongGroupsTotalInHoursAndDays) {
    OvixRowBuilder b(2);
    b.add("A", {}, {}, {}, 86400);
    b.add("A", {}, {}, {}, 3661);
    const OvixRows r = b.finish();
    EXPECT_EQ(r[r.rows[0].line2], u"2 / 1:01:01:01");
}

TEST(OvixRows, DropsAboveAHeaderLandBeforeItsFirstTrackAndBelowTheLastAtTheEnd) {
    const OvixRows r = build({{"A"}, {"A"}, {"B"}, {"B"}});  // H0 T0 T1 H1 T2 T3
    EXPECT_EQ(r.insertIndexForRow(0), 0u);
    EXPECT_EQ(r.insertIndexForRow(2), 1u);
    EXPECT_EQ(r.insertIndexForRow(3), 2u);  // the header of B
    EXPECT_EQ(r.insertIndexForRow(6), 4u);
    EXPECT_EQ(r.insertIndexForRow(100), 4u);
    EXPECT_EQ(OvixRows{}.insertIndexForRow(0), 0u);
}

TEST(MoveOrder, MovedItemsGoTogetherInFrontOfTheDropIndex) {
    using Order = std::vector<size_t>;
    const struct {
        std::vector<bool> moved;
        size_t index;
        Order order;
    } cases[] = {
        {{true, true, false, false}, 3, {2, 0, 1, 3}},
        {{true, true, false, false}, 0, {0, 1, 2, 3}},
        {{false, false, true, false}, 0, {2, 0, 1, 3}},
        {{true, false, true, false}, 4, {1, 3, 0, 2}},
        {{true, false, true, false}, 99, {1, 3, 0, 2}},
        {{false, true, false, true}, 2, {0, 1, 3, 2}},
        {{false, false, false, false}, 2, {0, 1, 2, 3}},
        {{true}, 3, {1, 2, 0, 3}},  // a short mask leaves the rest unmoved
    };
    for (const auto& c : cases) EXPECT_EQ(moveOrder(4, c.moved, c.index), c.order) << c.index;
}

TEST(RowItems, TravelAsDecimalLinesAndOnlyIndicesComeBack) {
    EXPECT_EQ(encodeRowItems({0, 7, 12}), QByteArray("0\n7\n12\n"));
    EXPECT_EQ(decodeRowItems(encodeRowItems({0, 7, 12})), (std::vector<size_t>{0, 7, 12}));
    EXPECT_EQ(decodeRowItems("3\n-1\nx\n\n 4 \n5x\n99999999999999999999\n"), (std::vector<size_t>{3, 4}));
}

}  // namespace
