#include "ChromeHost.h"

#include "Beep.h"
#include "ClassicLock.h"
#include "ClosedTracker.h"

ChromeHost::ChromeHost() {
    bound.host.add(library_manager::class_guid, library);
    platform::setBeepHook([this] { ++beeps; });
}

ChromeHost::~ChromeHost() {
    platform::setBeepHook({});
    stopClosedTracker();
    g_closed.clear();
    // The locks of this host's playlists go with it.
    g_locks.clear();
    playlists->releaseLocks();
}
