#include "cvk_format.h"

#include <gtest/gtest.h>

TEST(CvkFormatFloat, FixedDigitsAndMinimumWidth) {
    EXPECT_STREQ(cvk::format_float(-12.0, 0, 2), "-12.00");
    EXPECT_STREQ(cvk::format_float(0.0, 0, 2), "0.00");
    EXPECT_STREQ(cvk::format_float(3.14159, 8, 3), "   3.142");
    EXPECT_STREQ(cvk::format_float(-12.345, 3, 1), "-12.3");
}

TEST(CvkFormatFloat, NoMinusSignOnAZeroResult) {
    EXPECT_STREQ(cvk::format_float(-0.0, 0, 2), "0.00");
    EXPECT_STREQ(cvk::format_float(-0.001, 0, 2), "0.00");
    EXPECT_STREQ(cvk::format_float(-0.001, 6, 2), "  0.00");
    EXPECT_STREQ(cvk::format_float(-0.004, 0, 3), "-0.004");
}
