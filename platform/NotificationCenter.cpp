#include "NotificationCenter.h"

#include "MainQueue.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace platform {

NotificationCenter::NotificationCenter() = default;

NotificationCenter::~NotificationCenter() {
    for (const QMetaObject::Connection& c : std::as_const(m_watched)) disconnect(c);
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter* center = [] {
        auto* c = new NotificationCenter;
        // Receivers' destroyed signals must reach it directly, on the main thread,
        // even when a worker happened to ask first.
        if (QCoreApplication* app = QCoreApplication::instance()) c->moveToThread(app->thread());
        return c;
    }();
    return *center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(NotificationName name,
                                                               QObject* receiver, Handler handler,
                                                               const QObject* sender) {
    if (!receiver) return 0;
    return add(name, receiver, std::move(handler), sender);
}

Subscription NotificationCenter::subscribe(NotificationName name, QObject* receiver,
                                           Handler handler, const QObject* sender) {
    const ObserverId id = add(name, receiver, std::move(handler), sender);
    return id ? Subscription(this, id) : Subscription();
}

NotificationCenter::ObserverId NotificationCenter::add(NotificationName name, QObject* receiver,
                                                       Handler handler, const QObject* sender) {
    if (!handler) return 0;
    const ObserverId id = m_nextId++;
    m_entries.push_back(Entry{id, name.toByteArray(), receiver, receiver, sender != nullptr,
                              const_cast<QObject*>(sender), std::move(handler)});
    if (receiver) watch(receiver);
    return id;
}

void NotificationCenter::watch(QObject* receiver) {
    if (m_watched.contains(receiver)) return;
    // Runs inside the receiver's destructor, before its memory can be reused, so
    // its address still identifies its entries.
    m_watched.insert(receiver,
                     connect(
                         receiver, &QObject::destroyed, this,
                         [this, receiver] { removeObserver(receiver); }, Qt::DirectConnection));
}

void NotificationCenter::unwatchIfUnused(const QObject* receiver) {
    if (!receiver) return;
    const bool used = std::any_of(m_entries.begin(), m_entries.end(),
                                  [receiver](const Entry& e) { return e.receiverKey == receiver; });
    if (used) return;
    const auto it = m_watched.constFind(receiver);
    if (it == m_watched.cend()) return;
    disconnect(it.value());
    m_watched.erase(it);
}

void NotificationCenter::removeObserver(ObserverId id) {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [id](const Entry& e) { return e.id == id; });
    if (it == m_entries.end()) return;
    const QObject* receiver = it->receiverKey;
    m_entries.erase(it);
    unwatchIfUnused(receiver);
}

void NotificationCenter::removeObserver(const QObject* receiver) {
    if (!receiver) return;
    std::erase_if(m_entries, [receiver](const Entry& e) { return e.receiverKey == receiver; });
    unwatchIfUnused(receiver);
}

void NotificationCenter::removeObserver(const QObject* receiver, NotificationName name) {
    if (!receiver) return;
    const QByteArray key = name.toByteArray();
    std::erase_if(m_entries,
                  [&](const Entry& e) { return e.receiverKey == receiver && e.name == key; });
    unwatchIfUnused(receiver);
}

void NotificationCenter::post(NotificationName name, QObject* sender, const QVariantMap& userInfo) {
    Notification notification{name.toByteArray(), sender, userInfo};
    if (isMainThread() && QThread::currentThread() == thread()) {
        deliver(notification);
        return;
    }
    // Observers are views and controllers; they are only ever touched on the
    // main thread, so a worker's post waits for it.
    QPointer<QObject> weakSender(sender);
    QPointer<NotificationCenter> self(this);
    async([self, weakSender, notification]() mutable {
        if (!self) return;
        notification.sender = weakSender.data();
        self->deliver(notification);
    });
}

void NotificationCenter::deliver(const Notification& notification) {
    std::vector<ObserverId> ids;
    for (const Entry& e : m_entries)
        if (e.name == notification.name) ids.push_back(e.id);

    for (ObserverId id : ids) {
        const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                     [id](const Entry& e) { return e.id == id; });
        if (it == m_entries.end()) continue;             // removed by an earlier handler
        if (it->receiverKey && !it->receiver) continue;  // receiver mid-destruction
        if (it->filtered && (!it->sender || it->sender.data() != notification.sender)) continue;
        // A copy: the handler may remove itself, which destroys the stored one.
        const Handler handler = it->handler;
        handler(notification);
    }
}

int NotificationCenter::observerCount(NotificationName name) const {
    const QByteArray key = name.toByteArray();
    return int(std::count_if(m_entries.begin(), m_entries.end(),
                             [&key](const Entry& e) { return e.name == key; }));
}

bool NotificationCenter::isObserving(ObserverId id) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [id](const Entry& e) { return e.id == id; });
}

Subscription::Subscription(NotificationCenter* center, NotificationCenter::ObserverId id)
    : m_center(center), m_id(id) {}

Subscription::Subscription(Subscription&& other) noexcept
    : m_center(std::move(other.m_center)), m_id(std::exchange(other.m_id, 0)) {
    other.m_center.clear();
}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        m_center = std::move(other.m_center);
        other.m_center.clear();
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

Subscription::~Subscription() {
    reset();
}

void Subscription::reset() {
    if (m_center && m_id) m_center->removeObserver(m_id);
    m_center.clear();
    m_id = 0;
}

bool Subscription::isActive() const {
    return m_center && m_id && m_center->isObserving(m_id);
}

}  // namespace platform
