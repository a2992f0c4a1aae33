#include "BundleWork.h"

#include <atomic>
#include <list>
#include <mutex>
#include <thread>

namespace qvn {

namespace {

class Workers {
public:
    ~Workers() { joinAll(); }

    void spawn(std::function<void()> fn) {
        std::list<Worker> ended;
        {
            std::lock_guard lock(m_mutex);
            // Ended threads are joined as new ones start, so that a long session
            // does not keep one unjoined thread per scan it ever ran.
            for (auto it = m_workers.begin(); it != m_workers.end();) {
                auto next = std::next(it);
                if (it->ended) ended.splice(ended.end(), m_workers, it);
                it = next;
            }
            // List nodes never move, so the thread may keep a reference to its own.
            Worker& worker = m_workers.emplace_back();
            worker.thread = std::thread([&worker, fn = std::move(fn)]() mutable {
                fn();
                fn = nullptr;
                worker.ended = true;
            });
        }
        for (Worker& w : ended) w.thread.join();
    }

    void joinAll() {
        // Workers may start workers while we wait: repeat until none is left.
        for (;;) {
            std::list<Worker> all;
            {
                std::lock_guard lock(m_mutex);
                all.swap(m_workers);
            }
            if (all.empty()) return;
            for (Worker& w : all) w.thread.join();
        }
    }

private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> ended{false};
    };

    std::mutex m_mutex;
    std::list<Worker> m_workers;
};

Workers g_workers;

}  // namespace

void spawnWorker(std::function<void()> fn) {
    if (fn) g_workers.spawn(std::move(fn));
}

void joinWorkers() { g_workers.joinAll(); }

}  // namespace qvn
