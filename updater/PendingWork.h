#pragma once

// The owner of everything the updater has in flight in this bundle: delayed
// calls and transfers. It goes when the bundle is unloaded, and its work with
// it, so that no timer, event or reply still holds code of the unloaded bundle.
//
// Main thread.

#include <functional>

class QObject;

namespace dravik_update {

QObject* pendingWork();

// Runs fn on the main thread after ms milliseconds (0: at a later turn of the
// event loop), unless the bundle is unloaded first.
void later(int ms, std::function<void()> fn);

}  // namespace dravik_update
