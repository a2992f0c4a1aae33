#include "MainQueue.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <sys/eventfd.h>
#include <unistd.h>

#include <deque>
#include <mutex>

namespace platform {

namespace {

class Handoff;

// Guards g_handoff and its queue.
std::mutex g_mutex;
Handoff* g_handoff = nullptr;

// Work on its way to the main thread: a queue under a std::mutex, and an
// eventfd that wakes the main loop. Nothing of Qt's is made or touched on the
// worker's side, so ThreadSanitizer, which cannot see into Debian's Qt, sees
// the whole hand-over. One per application object, made on the main thread as
// the application starts and gone with it.
class Handoff : public QObject {
public:
    explicit Handoff(QCoreApplication* app)
        : QObject(app),
          m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
          m_notifier(m_wake, QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this] { runAll(); });
        std::lock_guard lock(g_mutex);
        g_handoff = this;
    }

    ~Handoff() override {
        {
            std::lock_guard lock(g_mutex);
            g_handoff = nullptr;
        }
        ::close(m_wake);
    }

    // Under g_mutex.
    void push(std::function<void()> fn) {
        m_tasks.push_back(std::move(fn));
        const uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_wake, &one, sizeof one);
    }

private:
    // Outside the lock: a task may queue the next one, which then waits for
    // a later turn of the loop.
    void runAll() {
        uint64_t count;
        [[maybe_unused]] const auto read = ::read(m_wake, &count, sizeof count);
        std::deque<std::function<void()>> batch;
        {
            std::lock_guard lock(g_mutex);
            batch.swap(m_tasks);
        }
        for (auto& fn : batch) fn();
    }

    const int m_wake;
    QSocketNotifier m_notifier;
    std::deque<std::function<void()>> m_tasks;
};

void startHandoff() { new Handoff(QCoreApplication::instance()); }
Q_COREAPP_STARTUP_FUNCTION(startHandoff)

}  // namespace

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void async(std::function<void()> fn) {
    if (!fn) return;
    std::lock_guard lock(g_mutex);
    if (g_handoff) g_handoff->push(std::move(fn));
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
