#pragma once

// Work handed to the main thread's event loop. Callable from any thread.
//
// Ownership: a closure belongs to its guard, an object living on the main
// thread. When the guard dies first the closure is destroyed with it, never
// run. Unguarded work belongs to the application object. Qt itself never holds
// a closure, so none need outlive the code it was built from: a host drops all
// pending work before it unloads bundles. Without an application object work
// is dropped at once (there is no main loop to run it).

#include "platform_export.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace platform {

// True on the application's main thread, and on any thread before the
// application object exists.
QOV_PLATFORM_API bool isMainThread();

// Runs fn on the main thread at a later turn of its event loop, never inline,
// in the order queued.
QOV_PLATFORM_API void async(std::function<void()> fn);

// As above, owned by guard. A null guard guards nothing. From a worker thread
// the guard must stay alive during this call; a worker that cannot promise that
// passes a QPointer made on the main thread instead.
QOV_PLATFORM_API void async(QObject* guard, std::function<void()> fn);

// Dropped when the object has died by then, including when the pointer is
// already null. A worker cannot touch the object, so its closure waits for its
// turn before it is dropped.
template <class T>
void async(QPointer<T> guard, std::function<void()> fn) {
    if (isMainThread()) {
        if (guard) async(static_cast<QObject*>(guard.data()), std::move(fn));
        return;
    }
    async([guard = std::move(guard), fn = std::move(fn)] {
        if (guard) fn();
    });
}

// Runs fn on the main thread after ms milliseconds (0 = the next turn), owned
// by guard as above. A null guard guards nothing.
QOV_PLATFORM_API void after(int ms, QObject* guard, std::function<void()> fn);

// Destroys every closure still waiting, guarded or not, without running it,
// those that destroying one queues included. Main thread.
QOV_PLATFORM_API void dropPendingWork();

}  // namespace platform
