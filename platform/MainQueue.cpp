#include "MainQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace platform {

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void async(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !fn) return;
    // The application object is the context: it lives on the main thread, so the
    // call lands there whichever thread queued it.
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

void async(QObject* guard, std::function<void()> fn) {
    if (!guard) {
        async(std::move(fn));
        return;
    }
    async(QPointer<QObject>(guard), std::move(fn));
}

void after(int ms, QObject* guard, std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !fn) return;
    if (!isMainThread()) {
        // Timers belong to the thread that starts them; start this one on the main
        // thread, still guarded.
        QPointer<QObject> weak(guard);
        const bool guarded = guard != nullptr;
        async([ms, weak, guarded, fn = std::move(fn)]() mutable {
            if (guarded && !weak) return;
            after(ms, weak.data(), std::move(fn));
        });
        return;
    }
    // With the guard as the timer's context, Qt drops the call when it dies.
    QTimer::singleShot(qMax(ms, 0), guard ? guard : app, std::move(fn));
}

}  // namespace platform
