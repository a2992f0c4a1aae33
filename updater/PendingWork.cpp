#include "PendingWork.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace dravik_update {

QObject* pendingWork() {
    static std::unique_ptr<QObject> owner = std::make_unique<QObject>();
    return owner.get();
}

void later(int ms, std::function<void()> fn) {
    // A timer of our own rather than a free single-shot: the event loop would keep
    // that one, and the function in it, after the bundle has gone.
    auto* timer = new QTimer(pendingWork());
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fn = std::move(fn)] {
        timer->deleteLater();
        fn();
    });
    timer->start(ms);
}

}  // namespace dravik_update
