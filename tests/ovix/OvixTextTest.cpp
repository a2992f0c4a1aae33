#include "OvixText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(FormatDuration, RoundsHalfUpIntoMinutesHoursAndDays) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0, "0:00"},       {5, "0:05"},           {4.4, "0:04"},         {4.5, "0:05"},
        {59.5, "1:00"},    {3599, "59:59"},       {3599.6, "1:00:00"},   {3600, "1:00:00"},
        {3725, "1:02:05"}, {86399, "23:59:59"},   {86400, "1:00:00:00"}, {90061, "1:01:01:01"},
        {400.8, "6:41"},   {1e7, "115:17:46:40"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDuration(c.seconds).toStdString(), c.text) << c.seconds;
}

TEST(FormatDuration, ImpossibleValuesReadAsZero) {
    for (double s : {-1.0, -3600.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e300})
        EXPECT_EQ(formatDuration(s).toStdString(), "0:00") << s;
}

TEST(Str, NullAndBrokenTextGiveAnEmptyString) {
    EXPECT_FALSE(str(static_cast<const char*>(nullptr)).isNull());
    EXPECT_TRUE(str(static_cast<const char*>(nullptr)).isEmpty());
    EXPECT_TRUE(str("abc\xff\xfe").isEmpty());
    EXPECT_TRUE(str("\xc3").isEmpty());  // cut in the middle of a character
    EXPECT_EQ(str("B\xc3\xa9"
                  "at"),
              QStringLiteral("B\u00e9at"));
    EXPECT_EQ(str(std::string_view("\xef\xbb\xbfx")), QStringLiteral("\ufeffx"));
}

}  // namespace
