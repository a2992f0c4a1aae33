#include "Beep.h"

#include "TestApplication.h"

#include <gtest/gtest.h>

TEST(Beep, AHookHearsEveryBeepUntilItIsTakenAway) {
    testApplication();
    int heard = 0;
    platform::setBeepHook([&heard] { ++heard; });
    platform::beep();
    platform::beep();
    EXPECT_EQ(heard, 2);
    platform::setBeepHook(nullptr);
    platform::beep();  // the sound again, where there is one
    EXPECT_EQ(heard, 2);
}
