#pragma once

// The owner of everything the updater has in flight in this bundle: the guard
// of its queued and delayed work, and the parent of its transfers. It goes
// when the bundle is unloaded, and its work with it.
//
// Main thread.

class QObject;

namespace dravik_update {

QObject* pendingWork();

}  // namespace dravik_update
