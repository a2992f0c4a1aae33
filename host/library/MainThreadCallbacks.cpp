#include "MainThreadCallbacks.h"

#include "Console.h"
#include "MainQueue.h"

#include "service_factory.h"

#include <QCoreApplication>

#include <exception>

namespace library {

namespace {

service_factory_singleton_t<MainThreadCallbacks> g_mainThreadCallbacksFactory;

}  // namespace

MainThreadCallbacks& MainThreadCallbacks::instance() {
    return g_mainThreadCallbacksFactory.get_static_instance();
}

void MainThreadCallbacks::add_callback(service_ptr_t<main_thread_callback> callback) {
    if (!callback) return;
    {
        std::lock_guard lock(m_mutex);
        if (!m_closed) {
            m_pending.push_back(std::move(callback));
            // Without an application there is no loop yet; the next call after
            // it exists posts the whole queue.
            QCoreApplication* app = QCoreApplication::instance();
            if (m_posted || !app) return;
            m_posted = true;
            platform::async([this] { runPending(); });
            return;
        }
    }
    // Closed: released here, outside the lock, since its destructor may post.
    callback.release();
}

void MainThreadCallbacks::runPending() {
    std::deque<service_ptr_t<main_thread_callback>> batch;
    {
        std::lock_guard lock(m_mutex);
        m_posted = false;
        if (m_closed) return;
        batch.swap(m_pending);
    }
    for (auto& callback : batch) {
        try {
            callback->callback_run();
        } catch (const std::exception& e) {
            Console::global().print(std::string("Main-thread callback failed: ") + e.what());
        } catch (...) {
            Console::global().print("Main-thread callback failed");
        }
        callback.release();
    }
}

void MainThreadCallbacks::drain() {
    std::deque<service_ptr_t<main_thread_callback>> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        dropped.swap(m_pending);
    }
    dropped.clear();
}

void MainThreadCallbacks::reopen() {
    std::lock_guard lock(m_mutex);
    m_closed = false;
    // A post made before the drain may never run; an extra one is harmless.
    m_posted = false;
}

size_t MainThreadCallbacks::pendingCount() const {
    std::lock_guard lock(m_mutex);
    return m_pending.size();
}

}  // namespace library
