#pragma once

// Worker threads owned by this bundle. A detached thread could outlive the
// bundle: even after its work is done it still returns through the bundle's
// code and releases what its closure holds. So every worker is joined before
// the code unloads, when the host withdraws the bundle's services. A worker
// must therefore end promptly once its owner cancels it, and never wait for
// the main thread, which may be the one waiting for it.
//
// Work for the main thread goes through platform::async and platform::after,
// guarded by the object it serves.
//
// Threads: spawnWorker from any thread, including a worker; joinWorkers from
// any thread but a worker of this bundle.

#include <functional>

namespace qvn {

// Runs fn on a new thread owned by this bundle. fn must not throw.
void spawnWorker(std::function<void()> fn);

// Waits until every worker of this bundle has ended, those they started
// included. The binding calls it when the host withdraws the services.
void joinWorkers();

}  // namespace qvn
