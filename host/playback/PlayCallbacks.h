#pragma once

// The registered play_callbacks and their delivery, behind the host's
// play_callback_manager service.
//
// Threads: main thread only, like the interface.
// A callback unregistered during a delivery gets nothing more, not even the
// rest of that event; one registered during a delivery starts with the next event.

#include "play_callback.h"

#include <cstdint>
#include <vector>

namespace playback {

class PlayCallbacks {
public:
    static PlayCallbacks& global();

    void add(play_callback* callback, uint32_t flags);
    void remove(play_callback* callback);

    template <class F>
    void deliver(uint32_t flag, F&& call) {
        ++m_depth;
        const size_t count = m_entries.size();
        for (size_t i = 0; i < count; ++i) {
            // Re-read each time: a callback may unregister another.
            if (m_entries[i].callback && (m_entries[i].flags & flag)) call(*m_entries[i].callback);
        }
        if (--m_depth == 0) compact();
    }

private:
    struct Entry {
        play_callback* callback;
        uint32_t flags;
    };
    void compact();

    std::vector<Entry> m_entries;
    int m_depth = 0;
};

}  // namespace playback
