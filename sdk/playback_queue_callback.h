#pragma once

// Told of every change of the playback queue. Components offer it through a
// service factory; the host calls every registered one.
//
// Threads: main thread, after the change.
// Ownership: the component's service; the host creates it through its factory.
// Failure: none.

#include "service.h"

class playback_queue_callback : public service_base {
    QVN_SERVICE_INTERFACE(playback_queue_callback, service_base,
                          {0xC0234247, 0x8E20, 0x402E, {0xBB, 0xBF, 0xBA, 0x2F, 0x74, 0xD5, 0xBD, 0xA9}});

    enum t_change_origin : int {
        changed_user_added = 0,
        changed_user_removed = 1,
        // An entry left the queue because it started playing.
        changed_playback_advance = 2,
    };

    virtual void on_changed(t_change_origin origin) = 0;
};
