#include "NotificationCenter.h"

#include "Printers.h"
#include "TestApplication.h"

#include <QApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using platform::Notification;
using platform::NotificationCenter;
using platform::Subscription;

namespace {

constexpr platform::NotificationName kChanged{"QovTestSomethingChanged"};

class NotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
    NotificationCenter center;
};

}  // namespace

TEST_F(NotificationCenterTest, DeliversToObserversOfTheNameAndSender) {
    QObject receiver, sender, other;
    QList<Notification> got;
    int filtered = 0, otherName = 0;
    center.addObserver(kChanged, &receiver, [&](const Notification& n) { got.append(n); });
    center.addObserver(
        kChanged, &receiver, [&](const Notification&) { ++filtered; }, &sender);
    center.addObserver(platform::kWaveSeekbarPrefsChanged, &receiver,
                       [&](const Notification&) { ++otherName; });

    center.post(kChanged, &sender, {{"row", 3}});
    center.post(kChanged, &other);
    // Another bundle's copy of the constant names the same notification.
    static const char copy[] = "QovTestSomethingChanged";
    center.post(platform::NotificationName(copy));

    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got[0].name, "QovTestSomethingChanged");
    EXPECT_EQ(got[0].sender, &sender);
    EXPECT_EQ(got[0].userInfo.value("row").toInt(), 3);
    EXPECT_EQ(filtered, 1);
    EXPECT_EQ(otherName, 0);
}

TEST_F(NotificationCenterTest, DestroyedReceiverStopsObservingAndIsForgotten) {
    int calls = 0;
    auto receiver = std::make_unique<QObject>();
    center.addObserver(kChanged, receiver.get(), [&](const Notification&) { ++calls; });
    center.addObserver(platform::kClassicUIQueueChanged, receiver.get(),
                       [&](const Notification&) { ++calls; });
    center.removeObserver(receiver.get(), platform::kClassicUIQueueChanged);
    center.post(platform::kClassicUIQueueChanged);
    center.post(kChanged);
    receiver.reset();
    center.post(kChanged);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(center.observerCount(kChanged), 0);
}

TEST_F(NotificationCenterTest, SubscriptionEndsWithItsHandleOrItsReceiver) {
    int calls = 0;
    {
        Subscription s = center.subscribe(kChanged, nullptr, [&](const Notification&) { ++calls; });
        Subscription moved = std::move(s);
        EXPECT_FALSE(s.isActive());
        EXPECT_TRUE(moved.isActive());
        center.post(kChanged);
    }
    center.post(kChanged);
    EXPECT_EQ(calls, 1);

    auto receiver = std::make_unique<QObject>();
    Subscription bound =
        center.subscribe(kChanged, receiver.get(), [&](const Notification&) { ++calls; });
    receiver.reset();
    EXPECT_FALSE(bound.isActive());
    center.post(kChanged);
    EXPECT_EQ(calls, 1);

    // Outliving its centre is harmless.
    auto own = std::make_unique<NotificationCenter>();
    Subscription orphan = own->subscribe(kChanged, nullptr, [](const Notification&) {});
    own.reset();
    EXPECT_FALSE(orphan.isActive());
}

TEST_F(NotificationCenterTest, ObserversChangedDuringAPostAffectOnlyLaterPosts) {
    QObject receiver;
    QStringList order;
    NotificationCenter::ObserverId self = 0, second = 0;
    self = center.addObserver(kChanged, &receiver, [&](const Notification&) {
        order << "first";
        // Removes itself and the next observer, and adds one, mid-delivery.
        center.removeObserver(self);
        center.removeObserver(second);
        center.addObserver(kChanged, &receiver, [&](const Notification&) { order << "late"; });
    });
    second =
        center.addObserver(kChanged, &receiver, [&](const Notification&) { order << "second"; });
    center.addObserver(kChanged, &receiver, [&](const Notification&) { order << "third"; });

    center.post(kChanged);
    EXPECT_EQ(order, QStringList({"first", "third"}));
    center.post(kChanged);
    EXPECT_EQ(order, QStringList({"first", "third", "third", "late"}));
}

TEST_F(NotificationCenterTest, PostFromAWorkerIsDeliveredOnTheMainThread) {
    QObject receiver;
    QThread* deliveredOn = nullptr;
    center.addObserver(kChanged, &receiver,
                       [&](const Notification&) { deliveredOn = QThread::currentThread(); });
    std::thread([&] { center.post(kChanged); }).join();
    EXPECT_EQ(deliveredOn, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());
}
