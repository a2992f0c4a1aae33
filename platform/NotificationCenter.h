#pragma once

// Name-based notifications within the process: a poster names what happened,
// observers anywhere react, neither knows the other. Delivery is synchronous,
// in the order observers were added, to the observers present when the post
// began (one added during a post waits for the next; one removed during a post
// is skipped).
//
// Main thread: observers are added, removed and called there. A post from any
// other thread is delivered at a later turn of the main loop.

#include "NotificationNames.h"
#include "platform_export.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <functional>
#include <vector>

namespace platform {

struct Notification {
    QByteArray name;
    QObject* sender = nullptr;  // may be null
    QVariantMap userInfo;
};

class Subscription;

class QOV_PLATFORM_API NotificationCenter : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const Notification&)>;
    using ObserverId = quint64;

    // A centre of one's own; the components share defaultCenter().
    NotificationCenter();
    ~NotificationCenter() override;

    // Never destroyed, so that handles released during unloading stay safe.
    static NotificationCenter& defaultCenter();

    // Calls handler for each post of name (only those from sender when one is
    // given) until removeObserver, or until receiver is destroyed. The receiver
    // is required: it is what keeps the handler's captures valid. Returns 0 for
    // a null receiver or handler and adds nothing.
    ObserverId addObserver(NotificationName name, QObject* receiver, Handler handler,
                           const QObject* sender = nullptr);

    // As addObserver, also ending when the handle is destroyed or reset. The
    // receiver may be null here: the handle alone then bounds the observation.
    [[nodiscard]] Subscription subscribe(NotificationName name, QObject* receiver, Handler handler,
                                         const QObject* sender = nullptr);

    void removeObserver(ObserverId id);
    void removeObserver(const QObject* receiver);
    void removeObserver(const QObject* receiver, NotificationName name);

    void post(NotificationName name, QObject* sender = nullptr, const QVariantMap& userInfo = {});

    // Live observations of name.
    int observerCount(NotificationName name) const;
    bool isObserving(ObserverId id) const;

private:
    struct Entry {
        ObserverId id;
        QByteArray name;
        const QObject* receiverKey;  // identity only, never dereferenced
        QPointer<QObject> receiver;
        bool filtered;
        QPointer<QObject> sender;
        Handler handler;
    };

    ObserverId add(NotificationName name, QObject* receiver, Handler handler,
                   const QObject* sender);
    void deliver(const Notification& notification);
    void watch(QObject* receiver);
    void unwatchIfUnused(const QObject* receiver);

    std::vector<Entry> m_entries;
    QHash<const QObject*, QMetaObject::Connection> m_watched;
    ObserverId m_nextId = 1;
};

// Ends its observation when destroyed. Move-only; empty when default-made.
// Safe to outlive its centre.
class QOV_PLATFORM_API Subscription {
public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription();

    void reset();
    // False once reset, or when the observation ended with its receiver.
    bool isActive() const;

private:
    friend class NotificationCenter;
    Subscription(NotificationCenter* center, NotificationCenter::ObserverId id);

    QPointer<NotificationCenter> m_center;
    NotificationCenter::ObserverId m_id = 0;
};

}  // namespace platform
