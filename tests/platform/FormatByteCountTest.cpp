#include "FormatByteCount.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <limits>

using platform::formatByteCount;

TEST(FormatByteCount, ZeroAndBytesAreWordsNotUnits) {
    EXPECT_EQ(formatByteCount(0), "Zero KB");
    EXPECT_EQ(formatByteCount(1), "1 byte");
    EXPECT_EQ(formatByteCount(2), "2 bytes");
    EXPECT_EQ(formatByteCount(532), "532 bytes");
    EXPECT_EQ(formatByteCount(999), "999 bytes");
}

TEST(FormatByteCount, KilobytesAreWholeAndDecimal) {
    EXPECT_EQ(formatByteCount(1000), "1 KB");
    EXPECT_EQ(formatByteCount(1024), "1 KB");
    EXPECT_EQ(formatByteCount(1499), "1 KB");
    EXPECT_EQ(formatByteCount(1501), "2 KB");
    EXPECT_EQ(formatByteCount(8'000), "8 KB");
    EXPECT_EQ(formatByteCount(532'400), "532 KB");
}

TEST(FormatByteCount, MegabytesShowOneDecimalOnlyWhenNeeded) {
    EXPECT_EQ(formatByteCount(8'000'000), "8 MB");  // 5,000,000 + 3,000,000
    EXPECT_EQ(formatByteCount(1'500'000), "1.5 MB");
    EXPECT_EQ(formatByteCount(1'040'000), "1 MB");
    EXPECT_EQ(formatByteCount(123'456'789), "123.5 MB");
    EXPECT_EQ(formatByteCount(1'999'999), "2 MB");
}

TEST(FormatByteCount, GigabytesAndAboveShowTwoDecimals) {
    EXPECT_EQ(formatByteCount(1'500'000'000), "1.5 GB");
    EXPECT_EQ(formatByteCount(1'234'567'890), "1.23 GB");
    EXPECT_EQ(formatByteCount(1'000'000'000'000), "1 TB");
    EXPECT_EQ(formatByteCount(2'346'000'000'000'000), "2.35 PB");
    EXPECT_EQ(formatByteCount(std::numeric_limits<qint64>::max()), "9.22 EB");
}

TEST(FormatByteCount, ExactHalvesRoundToEven) {
    EXPECT_EQ(formatByteCount(1'500), "2 KB");
    EXPECT_EQ(formatByteCount(2'500), "2 KB");
    EXPECT_EQ(formatByteCount(1'250'000), "1.2 MB");
    EXPECT_EQ(formatByteCount(1'350'000), "1.4 MB");
}

TEST(FormatByteCount, RoundingUpToAThousandMovesToTheNextUnit) {
    EXPECT_EQ(formatByteCount(999'499), "999 KB");
    EXPECT_EQ(formatByteCount(999'999), "1 MB");
    EXPECT_EQ(formatByteCount(999'960'000), "1 GB");
}

TEST(FormatByteCount, NegativeCountsKeepTheirSign) {
    EXPECT_EQ(formatByteCount(-1), "-1 byte");
    EXPECT_EQ(formatByteCount(-1'500'000), "-1.5 MB");
    EXPECT_EQ(formatByteCount(std::numeric_limits<qint64>::min()), "-9.22 EB");
}
