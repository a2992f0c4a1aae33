#pragma once

// The registered playlist callbacks and the delivery of events to them.
//
// An event raised while another is being delivered waits until that one has
// reached every callback, so nobody sees events out of order. The *_removing
// events are the exception: they promise that what goes can still be read, so
// they are delivered at once even then.
//
// A callback unregistered during a delivery receives nothing more, not even
// the rest of that event; one registered during a delivery starts with the
// next event.

#include "playlist_callback.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace playlists {

class PlaylistCallbacks {
public:
    using Delivery = std::function<void(playlist_callback&)>;

    // Registering a callback again replaces its flags.
    void add(playlist_callback* callback, uint32_t flags);
    void modify(playlist_callback* callback, uint32_t flags);
    void remove(playlist_callback* callback);

    // True when some callback asks for `flag`: skip building the arguments otherwise.
    bool wants(uint32_t flag) const;

    // `deliver` must own its arguments: it may run after the caller returns.
    void fire(uint32_t flag, Delivery deliver);

private:
    struct Entry {
        playlist_callback* callback;
        uint32_t flags;
    };

    void deliverNow(uint32_t flag, const Delivery& deliver);
    void compact();

    std::vector<Entry> m_entries;
    std::deque<std::pair<uint32_t, Delivery>> m_pending;
    int m_depth = 0;
    bool m_draining = false;
};

}  // namespace playlists
