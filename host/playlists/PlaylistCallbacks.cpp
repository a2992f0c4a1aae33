#include "PlaylistCallbacks.h"

#include <algorithm>

namespace playlists {

namespace {
constexpr uint32_t kImmediate =
    playlist_callback::flag_on_items_removing | playlist_callback::flag_on_playlists_removing;
}

void PlaylistCallbacks::add(playlist_callback* callback, uint32_t flags) {
    if (!callback) return;
    for (Entry& e : m_entries)
        if (e.callback == callback) {
            e.flags = flags;
            return;
        }
    m_entries.push_back({callback, flags});
}

void PlaylistCallbacks::modify(playlist_callback* callback, uint32_t flags) {
    for (Entry& e : m_entries)
        if (e.callback == callback) e.flags = flags;
}

void PlaylistCallbacks::remove(playlist_callback* callback) {
    // Entries are only blanked here: a delivery may be walking the list.
    for (Entry& e : m_entries)
        if (e.callback == callback) {
            e.callback = nullptr;
            e.flags = 0;
        }
    if (m_depth == 0) compact();
}

bool PlaylistCallbacks::wants(uint32_t flag) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [flag](const Entry& e) { return e.callback && (e.flags & flag); });
}

void PlaylistCallbacks::fire(uint32_t flag, Delivery deliver) {
    if (m_depth > 0 && !(flag & kImmediate)) {
        m_pending.emplace_back(flag, std::move(deliver));
        return;
    }
    deliverNow(flag, deliver);
    if (m_depth > 0 || m_draining) return;
    m_draining = true;
    while (!m_pending.empty()) {
        auto [pendingFlag, pending] = std::move(m_pending.front());
        m_pending.pop_front();
        deliverNow(pendingFlag, pending);
    }
    m_draining = false;
}

void PlaylistCallbacks::deliverNow(uint32_t flag, const Delivery& deliver) {
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    };
    {
        Depth guard(m_depth);
        // Late registrations wait for the next event.
        const size_t count = m_entries.size();
        for (size_t i = 0; i < count; ++i) {
            // Re-read every time: an earlier callback may have unregistered this one.
            playlist_callback* callback = m_entries[i].callback;
            if (callback && (m_entries[i].flags & flag)) deliver(*callback);
        }
    }
    if (m_depth == 0) compact();
}

void PlaylistCallbacks::compact() {
    std::erase_if(m_entries, [](const Entry& e) { return e.callback == nullptr; });
}

}  // namespace playlists
