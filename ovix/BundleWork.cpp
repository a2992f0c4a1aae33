#include "BundleWork.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace qvn {

namespace {

// Unloading runs this destructor: it waits for running workers, whose code
// would otherwise vanish under them.
class Running {
public:
    void enter() {
        std::lock_guard lock(_mutex);
        ++_count;
    }
    void leave() {
        std::lock_guard lock(_mutex);
        if (--_count == 0) _idle.notify_all();
    }
    ~Running() {
        std::unique_lock lock(_mutex);
        _idle.wait_for(lock, std::chrono::seconds(5), [this] { return _count == 0; });
    }

private:
    std::mutex _mutex;
    std::condition_variable _idle;
    int _count = 0;
};

Running g_running;

}  // namespace

void spawnWorker(std::function<void()> fn) {
    g_running.enter();
    std::thread([fn = std::move(fn)]() mutable {
        {
            // Released before leaving, while the unload still waits.
            auto own = std::move(fn);
            own();
        }
        g_running.leave();
    }).detach();
}

}  // namespace qvn
