#include "MainQueue.h"

#include "TestApplication.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

class MainQueueTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
};

// One closure: how often it ran, and whether it has been destroyed.
class Watch {
public:
    std::function<void()> closure() {
        auto token = std::make_shared<int>();
        m_alive = token;
        m_made = true;
        return [this, token] { ++runs; };
    }
    bool released() const { return m_made && m_alive.expired(); }
    int runs = 0;

private:
    std::weak_ptr<int> m_alive;
    bool m_made = false;
};

}  // namespace

TEST_F(MainQueueTest, AGuardsDeathDestroysItsWorkThereAndThenUnrun) {
    Watch posted, pointed, delayed, deadPointer, unguarded;
    auto guard = std::make_unique<QObject>();
    platform::async(guard.get(), posted.closure());
    platform::async(QPointer<QObject>(guard.get()), pointed.closure());
    platform::after(0, guard.get(), delayed.closure());
    // A QPointer that is already null is a dead guard, not "no guard".
    platform::async(QPointer<QObject>(), deadPointer.closure());
    platform::async(nullptr, unguarded.closure());
    guard.reset();
    EXPECT_TRUE(posted.released());
    EXPECT_TRUE(pointed.released());
    EXPECT_TRUE(delayed.released());
    EXPECT_TRUE(deadPointer.released());
    EXPECT_EQ(unguarded.runs, 0);  // never inline
    EXPECT_FALSE(unguarded.released());

    QTest::qWait(20);
    EXPECT_EQ(unguarded.runs, 1);
    EXPECT_TRUE(unguarded.released());
    for (const Watch* w : {&posted, &pointed, &delayed, &deadPointer}) EXPECT_EQ(w->runs, 0);
}

TEST_F(MainQueueTest, WorkMayDeleteItsOwnGuard) {
    auto* posted = new QObject;
    auto* delayed = new QObject;
    int ran = 0;
    platform::async(posted, [&] {
        delete posted;
        ++ran;
    });
    platform::after(0, delayed, [&] {
        delete delayed;
        ++ran;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran == 2; }, 2000));
}

TEST_F(MainQueueTest, WorkQueuedByAWorkerRunsOnTheMainThreadInOrder) {
    auto guard = std::make_unique<QObject>();
    auto doomed = std::make_unique<QObject>();
    QPointer<QObject> weak(guard.get()), weakDoomed(doomed.get());
    std::vector<int> order;
    std::atomic<QThread*> asyncOn{nullptr}, afterOn{nullptr};
    std::atomic<bool> workerIsMain{true};
    Watch doomedByPointer, doomedByObject;

    platform::async([&] { order.push_back(1); });
    std::thread([&] {
        workerIsMain = platform::isMainThread();
        platform::async(weak, [&] {
            order.push_back(2);
            asyncOn = QThread::currentThread();
        });
        platform::after(10, nullptr, [&] { afterOn = QThread::currentThread(); });
        platform::async(weakDoomed, doomedByPointer.closure());
        platform::after(0, doomed.get(), doomedByObject.closure());
    }).join();
    platform::async([&] { order.push_back(3); });
    // Dies before the main thread has seen the work queued for it.
    doomed.reset();

    EXPECT_FALSE(workerIsMain);
    EXPECT_TRUE(QTest::qWaitFor([&] { return afterOn.load() != nullptr; }, 2000));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(asyncOn.load(), QCoreApplication::instance()->thread());
    EXPECT_EQ(afterOn.load(), QCoreApplication::instance()->thread());
    EXPECT_EQ(doomedByPointer.runs + doomedByObject.runs, 0);
    EXPECT_TRUE(doomedByPointer.released());
    EXPECT_TRUE(doomedByObject.released());
}

TEST_F(MainQueueTest, AfterWaitsItsTime) {
    QElapsedTimer clock;
    clock.start();
    qint64 ranAt = -1;
    platform::after(60, nullptr, [&] { ranAt = clock.elapsed(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ranAt >= 0; }, 2000));
    EXPECT_GE(ranAt, 55);
}

TEST_F(MainQueueTest, DroppingPendingWorkDestroysEveryClosureUnrun) {
    QObject outlives;
    Watch posted, guarded, delayed, fromWorker, queuedOnRelease;
    platform::async(posted.closure());
    platform::async(&outlives, guarded.closure());
    platform::after(10, nullptr, delayed.closure());
    std::thread([&] { platform::after(0, &outlives, fromWorker.closure()); }).join();
    // Releasing this closure queues more work, which must go too.
    struct Requeue {
        Watch* watch;
        ~Requeue() { platform::async(watch->closure()); }
    };
    platform::async([r = std::make_shared<Requeue>(&queuedOnRelease)] {});

    platform::dropPendingWork();
    for (const Watch* w : {&posted, &guarded, &delayed, &fromWorker, &queuedOnRelease})
        EXPECT_TRUE(w->released());
    QTest::qWait(30);
    for (const Watch* w : {&posted, &guarded, &delayed, &fromWorker, &queuedOnRelease}) EXPECT_EQ(w->runs, 0);
}

// A modal dialog opened by queued work, say: what is queued meanwhile, here
// or by a worker, runs in the dialog's loop.
TEST_F(MainQueueTest, WorkRunsInALoopThatQueuedWorkStarted) {
    int ranInside = 0;
    bool over = false;
    platform::async([&] {
        QEventLoop loop;
        auto one = [&] {
            if (++ranInside == 2) loop.quit();
        };
        platform::async(one);
        std::thread([&] { platform::async(one); }).join();
        loop.exec();
        over = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return over; }, 2000));
    EXPECT_EQ(ranInside, 2);
}
