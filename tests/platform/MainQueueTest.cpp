#include "MainQueue.h"

#include "TestApplication.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

class MainQueueTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
};

}  // namespace

TEST_F(MainQueueTest, AsyncRunsLaterAndIsDroppedWhenItsGuardDiedFirst) {
    int runs = 0, dropped = 0;
    auto guard = std::make_unique<QObject>();
    platform::async(nullptr, [&] { ++runs; });
    platform::async(guard.get(), [&] { ++dropped; });
    platform::async(QPointer<QObject>(guard.get()), [&] { ++dropped; });
    // A QPointer that is already null is a dead guard, not "no guard".
    platform::async(QPointer<QObject>(), [&] { ++dropped; });
    guard.reset();
    EXPECT_EQ(runs, 0);  // never inline
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(dropped, 0);
}

TEST_F(MainQueueTest, WorkQueuedByAWorkerRunsOnTheMainThread) {
    auto guard = std::make_unique<QObject>();
    QPointer<QObject> weak(guard.get());
    std::atomic<QThread*> asyncOn{nullptr}, afterOn{nullptr};
    std::atomic<bool> workerIsMain{true};
    std::thread worker([&] {
        workerIsMain = platform::isMainThread();
        platform::async(weak, [&] { asyncOn = QThread::currentThread(); });
        platform::after(10, nullptr, [&] { afterOn = QThread::currentThread(); });
    });
    worker.join();
    EXPECT_FALSE(workerIsMain);
    EXPECT_TRUE(QTest::qWaitFor([&] { return afterOn.load() != nullptr; }, 2000));
    EXPECT_EQ(asyncOn.load(), QCoreApplication::instance()->thread());
    EXPECT_EQ(afterOn.load(), QCoreApplication::instance()->thread());
}

TEST_F(MainQueueTest, AfterWaitsItsTimeAndIsDroppedWithItsGuard) {
    bool ran = false, dropped = false;
    auto guard = std::make_unique<QObject>();
    QElapsedTimer clock;
    clock.start();
    qint64 ranAt = 0;
    platform::after(60, nullptr, [&] {
        ran = true;
        ranAt = clock.elapsed();
    });
    platform::after(20, guard.get(), [&] { dropped = true; });
    guard.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran; }, 2000));
    EXPECT_GE(ranAt, 55);
    EXPECT_FALSE(dropped);
}
