#include "MainQueue.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_set>

namespace platform {

namespace {

class PendingWork;

// One place in the main thread's line. Work queued on the main thread is owned
// by its guard already and only waits here for its turn; work from a worker is
// held here until the main thread, at its turn, sees whether the guard lives.
struct Turn {
    uint64_t seq = 0;
    QPointer<PendingWork> work;
    QPointer<QObject> guard;
    bool guarded = false;
    int ms = -1;
    std::function<void()> fn;
};

// Guards everything below. The line is a plain queue under a std::mutex, woken
// through an eventfd: nothing of Qt's carries work across threads, so
// ThreadSanitizer, which cannot see into Debian's Qt, sees the whole hand-over.
// Closures are never destroyed under the lock: destroying one may queue more.
std::mutex g_mutex;
std::unordered_set<PendingWork*> g_pending;  // made and neither run nor destroyed
std::deque<Turn> g_turns;
uint64_t g_nextSeq = 0;
int g_wake = -1;  // the eventfd, while the application lives

// One closure on the main thread, as a child of its guard so that it dies with
// it. It deletes itself before it runs the closure, which may well delete the
// guard.
class PendingWork final : public QObject {
public:
    PendingWork(QObject* guard, std::function<void()> fn) : m_fn(std::move(fn)) {
        setParent(guard ? guard : QCoreApplication::instance());
        std::lock_guard lock(g_mutex);
        g_pending.insert(this);
    }

    ~PendingWork() override {
        std::lock_guard lock(g_mutex);
        g_pending.erase(this);
    }

    void run() {
        const std::function<void()> fn = std::move(m_fn);
        delete this;
        fn();
    }

protected:
    void timerEvent(QTimerEvent*) override { run(); }

private:
    std::function<void()> m_fn;
};

// Under g_mutex. False without an application: nothing would run it.
bool push(Turn& turn) {
    if (g_wake < 0) return false;
    turn.seq = g_nextSeq++;
    g_turns.push_back(std::move(turn));
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(g_wake, &one, sizeof one);
    return true;
}

// Main thread.
void take(Turn turn) {
    if (turn.work) {
        turn.work->run();
        return;
    }
    if (!turn.fn || (turn.guarded && !turn.guard)) return;
    if (turn.ms < 0)
        turn.fn();
    else
        (new PendingWork(turn.guard, std::move(turn.fn)))->startTimer(turn.ms, Qt::PreciseTimer);
}

// The eventfd and its notifier, made on the main thread as the application
// starts and gone with it.
class Wake final : public QObject {
public:
    explicit Wake(QCoreApplication* app)
        : QObject(app), m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), m_notifier(m_fd, QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this] { runTurns(); });
        std::lock_guard lock(g_mutex);
        g_wake = m_fd;
    }

    ~Wake() override {
        std::deque<Turn> left;
        {
            std::lock_guard lock(g_mutex);
            g_wake = -1;
            left.swap(g_turns);
        }
        ::close(m_fd);
    }

private:
    // The turns queued so far, one at a time, so that a closure dropping all
    // pending work also drops the rest of them; what they queue waits for a
    // later turn of the loop.
    void runTurns() {
        uint64_t count;
        [[maybe_unused]] const auto read = ::read(m_fd, &count, sizeof count);
        uint64_t end;
        {
            std::lock_guard lock(g_mutex);
            end = g_nextSeq;
        }
        for (;;) {
            Turn turn;
            {
                std::lock_guard lock(g_mutex);
                if (g_turns.empty() || g_turns.front().seq >= end) return;
                turn = std::move(g_turns.front());
                g_turns.pop_front();
            }
            take(std::move(turn));
        }
    }

    const int m_fd;
    QSocketNotifier m_notifier;
};

void startWake() { new Wake(QCoreApplication::instance()); }
Q_COREAPP_STARTUP_FUNCTION(startWake)

void queue(QObject* guard, int ms, std::function<void()> fn) {
    if (!QCoreApplication::instance() || !fn) return;
    Turn turn;
    if (isMainThread()) {
        auto* work = new PendingWork(guard, std::move(fn));
        if (ms >= 0) {
            work->startTimer(ms, Qt::PreciseTimer);
            return;
        }
        turn.work = work;
    } else {
        // The guard is not ours to touch here beyond a weak reference.
        turn.guard = guard;
        turn.guarded = guard != nullptr;
        turn.ms = ms;
        turn.fn = std::move(fn);
    }
    bool queued;
    {
        std::lock_guard lock(g_mutex);
        queued = push(turn);
    }
    if (!queued) delete turn.work.data();
}

}  // namespace

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void async(std::function<void()> fn) { queue(nullptr, -1, std::move(fn)); }

void async(QObject* guard, std::function<void()> fn) { queue(guard, -1, std::move(fn)); }

void after(int ms, QObject* guard, std::function<void()> fn) { queue(guard, qMax(ms, 0), std::move(fn)); }

void dropPendingWork() {
    // A batch at a time: destroying a closure may destroy or queue other work.
    for (;;) {
        std::deque<Turn> turns;
        PendingWork* work = nullptr;
        {
            std::lock_guard lock(g_mutex);
            if (!g_turns.empty())
                turns.swap(g_turns);
            else if (!g_pending.empty())
                work = *g_pending.begin();
            else
                return;
        }
        delete work;
    }
}

}  // namespace platform
