#pragma once

// main_thread_callback_manager over the Qt main loop. Callbacks run in the
// order added, a batch per turn of the loop; one added while a batch runs waits
// for the next turn, so none ever runs inside add_callback.
//
// Threads: add_callback from any thread; the rest on the main thread.
// Ownership: each callback is held until it has run or been dropped. At quit
// the host calls drain() after the components' quit hooks and before their
// code unloads: whatever is pending is dropped, not run (the components have
// already torn down what it would touch), and so is anything added afterwards.

#include "main_thread_callback.h"

#include <deque>
#include <mutex>

namespace library {

class MainThreadCallbacks : public main_thread_callback_manager {
public:
    static MainThreadCallbacks& instance();

    void add_callback(service_ptr_t<main_thread_callback> callback) override;

    void drain();
    // Accepts callbacks again after a drain (a host starting its services anew).
    void reopen();
    size_t pendingCount() const;

private:
    void runPending();

    mutable std::mutex m_mutex;
    std::deque<service_ptr_t<main_thread_callback>> m_pending;
    bool m_posted = false;
    bool m_closed = false;
};

}  // namespace library
