#pragma once

// Work on threads of the bundle's own. A stand-in: the binding will own these
// threads and join them before the bundle unloads; until then this file is the
// one place that starts them.

#include <functional>

namespace qvn {

// Runs fn on a new thread and returns at once. The bundle's code is not
// unloaded while fn still runs (for a few seconds at most).
void spawnWorker(std::function<void()> fn);

}  // namespace qvn
