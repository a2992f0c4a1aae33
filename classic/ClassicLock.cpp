#include "ClassicLock.h"

#include "Beep.h"
#include "playlist_manager.h"
#include "std_api.h"

#include <algorithm>

std::vector<service_ptr_t<ClassicLock>> g_locks;

namespace {

auto manager() { return qvn::std_api_get<playlist_manager_v2>(); }

}  // namespace

bool isLockedByUs(size_t playlist) { return manager()->playlist_have_property(playlist, kLockProperty); }

void toggleLock(size_t playlist, bool shownLocked) {
    auto pm = manager();
    if (shownLocked) {
        const auto ours = std::find_if(
            g_locks.begin(), g_locks.end(),
            [&](const service_ptr_t<ClassicLock>& l) { return pm->playlist_lock_uninstall(playlist, l); });
        if (ours != g_locks.end()) g_locks.erase(ours);
        pm->playlist_remove_property(playlist, kLockProperty);
        return;
    }
    if (isLockedByUs(playlist)) return;
    service_ptr_t<ClassicLock> lock = service_new<ClassicLock>();
    if (!pm->playlist_lock_install(playlist, lock)) {
        platform::beep();
        return;
    }
    g_locks.push_back(lock);
    const uint8_t marker = 0x01;
    pm->playlist_set_property(playlist, kLockProperty, &marker, sizeof marker);
}

void reinstallLocks() {
    auto pm = manager();
    for (size_t i = 0; i < pm->get_playlist_count(); ++i) {
        if (!isLockedByUs(i) || pm->playlist_lock_is_present(i)) continue;
        service_ptr_t<ClassicLock> lock = service_new<ClassicLock>();
        if (pm->playlist_lock_install(i, lock)) g_locks.push_back(lock);
    }
}
