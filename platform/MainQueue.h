#pragma once

// Work handed to the main thread's event loop. Callable from any thread. The
// work is dropped when its guard object has died by the time it would run, and
// silently when no application object exists (there is no main loop to run it).

#include "platform_export.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace platform {

// True on the application's main thread, and on any thread before the
// application object exists.
QOV_PLATFORM_API bool isMainThread();

// Runs fn on the main thread at a later turn of its event loop, never inline.
QOV_PLATFORM_API void async(std::function<void()> fn);

// As above, dropped when guard has died by then. A null guard guards nothing.
// From a worker thread the guard must stay alive during this call; a worker that
// cannot promise that passes a QPointer made on the main thread instead.
QOV_PLATFORM_API void async(QObject* guard, std::function<void()> fn);

// Dropped when the object has died by then, including when the pointer is
// already null.
template <class T>
void async(QPointer<T> guard, std::function<void()> fn) {
    async([guard = std::move(guard), fn = std::move(fn)] {
        if (guard) fn();
    });
}

// Runs fn on the main thread after ms milliseconds (0 = the next turn), dropped
// when guard dies first. A null guard guards nothing.
QOV_PLATFORM_API void after(int ms, QObject* guard, std::function<void()> fn);

}  // namespace platform
