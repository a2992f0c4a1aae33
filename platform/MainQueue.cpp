#include "MainQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <deque>
#include <mutex>

namespace platform {

namespace {

// Work on its way to the main thread passes through this queue under a
// std::mutex, not inside Qt's events: ThreadSanitizer sees the lock (Debian's
// Qt is not built with it) and so knows the work was handed over whole. Each
// task still posts one event, which runs the oldest task, so tasks keep their
// place among the loop's other events.
class Handoff : public QObject {
    Q_OBJECT

public:
    void post(std::function<void()> fn) {
        {
            std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(fn));
        }
        // By name: the event then carries nothing that the main thread reads.
        QMetaObject::invokeMethod(this, "runOldest", Qt::QueuedConnection);
    }

    Q_INVOKABLE void runOldest() {
        std::function<void()> fn;
        {
            std::lock_guard lock(m_mutex);
            if (m_tasks.empty()) return;
            fn = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        fn();
    }

private:
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;
};

// One for the process, on the main thread.
Handoff& handoff(QCoreApplication& app) {
    static Handoff* const queue = [&app] {
        auto* made = new Handoff;
        made->moveToThread(app.thread());
        return made;
    }();
    return *queue;
}

// Made by the main thread as the application starts, so that no worker makes
// it (and the main thread would read what the worker wrote unannounced).
void makeHandoff() { handoff(*QCoreApplication::instance()); }
Q_COREAPP_STARTUP_FUNCTION(makeHandoff)

}  // namespace

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void async(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !fn) return;
    handoff(*app).post(std::move(fn));
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

#include "MainQueue.moc"
