#include "MainQueue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <mutex>
#include <unordered_set>

namespace platform {

namespace {

const QEvent::Type kTurn = QEvent::Type(QEvent::registerEventType());

class PendingWork;

// Every piece of work queued and neither run nor destroyed yet.
std::mutex g_mutex;
std::unordered_set<PendingWork*> g_pending;

// One closure waiting on the main thread, as a child of its guard so that it
// dies with it. Started by a turn event (async, or anything a worker queued)
// or by a timer; it deletes itself before it runs the closure, which may well
// delete the guard.
class PendingWork final : public QObject {
public:
    static void queue(QObject* guard, int ms, std::function<void()> fn) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || !fn) return;
        auto* work = new PendingWork(guard, ms, std::move(fn));
        if (QThread::currentThread() != app->thread()) {
            // The guard is not ours to touch here: the main thread adopts the work.
            work->moveToThread(app->thread());
            std::lock_guard lock(g_mutex);
            g_pending.insert(work);
            // Posted under the lock, so that a drop cannot delete it before.
            QCoreApplication::postEvent(work, new QEvent(kTurn));
            return;
        }
        {
            std::lock_guard lock(g_mutex);
            g_pending.insert(work);
        }
        work->adopt();
        if (ms < 0)
            QCoreApplication::postEvent(work, new QEvent(kTurn));
        else
            work->startTimer(ms, Qt::PreciseTimer);
    }

    ~PendingWork() override {
        std::lock_guard lock(g_mutex);
        g_pending.erase(this);
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() == kTurn) {
            if (!m_adopted && !adopt()) return true;
            if (m_ms < 0)
                run();
            else
                startTimer(m_ms, Qt::PreciseTimer);
            return true;
        }
        if (e->type() == QEvent::Timer) {
            run();
            return true;
        }
        return QObject::event(e);
    }

private:
    PendingWork(QObject* guard, int ms, std::function<void()> fn)
        : m_guard(guard), m_guarded(guard != nullptr), m_ms(ms), m_fn(std::move(fn)) {}

    // Main thread. False, with this deleted, when the guard has died.
    bool adopt() {
        if (m_guarded && !m_guard) {
            delete this;
            return false;
        }
        m_adopted = true;
        setParent(m_guarded ? m_guard.data() : QCoreApplication::instance());
        return true;
    }

    void run() {
        const std::function<void()> fn = std::move(m_fn);
        delete this;
        fn();
    }

    const QPointer<QObject> m_guard;
    const bool m_guarded;
    const int m_ms;  // < 0: at the next turn, without a timer
    bool m_adopted = false;
    std::function<void()> m_fn;
};

}  // namespace

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void async(std::function<void()> fn) { PendingWork::queue(nullptr, -1, std::move(fn)); }

void async(QObject* guard, std::function<void()> fn) { PendingWork::queue(guard, -1, std::move(fn)); }

void after(int ms, QObject* guard, std::function<void()> fn) {
    PendingWork::queue(guard, qMax(ms, 0), std::move(fn));
}

void dropPendingWork() {
    // One at a time: destroying a closure may destroy or queue other work.
    for (;;) {
        PendingWork* work = nullptr;
        {
            std::lock_guard lock(g_mutex);
            if (g_pending.empty()) return;
            work = *g_pending.begin();
        }
        delete work;
    }
}

}  // namespace platform
