#include "LibraryTestSupport.h"
#include "MainThreadCallbacks.h"

#include "main_thread_callback.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>

#include <memory>
#include <thread>

using library::MainThreadCallbacks;

namespace {

TEST(MainThreadCallbacks, RunLaterOnTheMainThreadInOrder) {
    app();
    std::vector<int> ran;
    bool offMain = false;
    for (int i = 0; i < 3; ++i) {
        qvn::inMainThread([&, i] {
            ran.push_back(i);
            offMain |= QThread::currentThread() != app().thread();
        });
    }
    EXPECT_TRUE(ran.empty());
    std::thread worker([&] {
        qvn::inMainThread([&] {
            ran.push_back(3);
            offMain |= QThread::currentThread() != app().thread();
        });
    });
    worker.join();
    ASSERT_TRUE(waitUntil([&] { return ran.size() == 4; }));
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_FALSE(offMain);
}

TEST(MainThreadCallbacks, OneAddedWhileRunningWaitsForALaterTurn) {
    app();
    bool innerRan = false;
    bool innerRanInside = true;
    qvn::inMainThread([&] {
        qvn::inMainThread([&] { innerRan = true; });
        innerRanInside = innerRan;
    });
    ASSERT_TRUE(waitUntil([&] { return innerRan; }));
    EXPECT_FALSE(innerRanInside);
}

TEST(MainThreadCallbacks, DrainDropsWhatIsPendingAndWhatComesAfter) {
    app();
    ASSERT_TRUE(waitUntil([] { return MainThreadCallbacks::instance().pendingCount() == 0; }));
    auto alive = std::make_shared<int>(0);
    std::weak_ptr<int> watch = alive;
    bool ran = false;
    qvn::inMainThread([&ran, alive] { ran = true; });
    alive.reset();
    EXPECT_EQ(MainThreadCallbacks::instance().pendingCount(), 1u);

    MainThreadCallbacks::instance().drain();
    EXPECT_TRUE(watch.expired());  // released, not kept until the loop runs
    auto late = std::make_shared<int>(0);
    std::weak_ptr<int> lateWatch = late;
    qvn::inMainThread([&ran, late] { ran = true; });
    late.reset();
    EXPECT_TRUE(lateWatch.expired());
    spinLoop();
    EXPECT_FALSE(ran);

    MainThreadCallbacks::instance().reopen();
    qvn::inMainThread([&ran] { ran = true; });
    EXPECT_TRUE(waitUntil([&] { return ran; }));
}

}  // namespace
