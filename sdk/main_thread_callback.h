#pragma once

// Running code on the main thread from anywhere.
//
// Threads: add_callback from any thread; callback_run on the main thread, in
// the order added, each in a later turn of the main loop (never inside
// add_callback, even when called on the main thread).
// Ownership: the host holds each callback until it has run. At quit it runs
// or drops every pending one before it withdraws the components' services;
// whatever a dropped callback holds is then released.
// Failure: none.

#include "service.h"
#include "std_api.h"

#include <functional>
#include <utility>

class main_thread_callback : public service_base {
    QVN_SERVICE_INTERFACE(main_thread_callback, service_base,
                          {0xE41CF51D, 0xBF75, 0x404B, {0xA6, 0x8B, 0x9D, 0x3A, 0x97, 0x65, 0x33, 0x5B}});

    virtual void callback_run() = 0;
};

class main_thread_callback_manager : public service_base {
    QVN_SERVICE_INTERFACE(main_thread_callback_manager, service_base,
                          {0x5E9B5BF5, 0xA068, 0x4671, {0xB7, 0xF6, 0xFF, 0x65, 0x6C, 0xD2, 0x5D, 0x87}});

    virtual void add_callback(service_ptr_t<main_thread_callback> callback) = 0;
};

namespace qvn {

class _main_thread_function : public main_thread_callback {
public:
    explicit _main_thread_function(std::function<void()> f) : m_f(std::move(f)) {}
    void callback_run() override { m_f(); }

private:
    std::function<void()> m_f;
};

// Queues `f` to run on the main thread; callable from any thread. An empty
// function is not queued.
inline void inMainThread(std::function<void()> f) {
    if (!f) return;
    qvn::std_api_get<main_thread_callback_manager>()->add_callback(
        service_new<_main_thread_function>(std::move(f)));
}

}  // namespace qvn
