#pragma once

// A lock that a component installs on one playlist to veto changes to it.
// The host asks the matching query_* before each change whose bit is in
// get_filter_mask() and carries the change out only on true; changes outside
// the mask are not asked about.
//
// Threads: main thread.
// Ownership: counted; playlist_manager holds a reference while installed. The
// lock's code lives in its component, so the host drops every installed lock
// (on_playlist_remove is not called then) before it withdraws the components'
// services at quit.
// Failure: a refusal is a false answer; the host then reports the operation as
// refused to its caller.

#include "bit_array.h"
#include "cvk_string.h"
#include "metadb_handle.h"
#include "service.h"

#include <cstdint>

class playlist_lock : public service_base {
    QVN_SERVICE_INTERFACE(playlist_lock, service_base,
                          {0x4B6216D2, 0x2200, 0x48D4, {0xA6, 0xA1, 0x59, 0x76, 0x19, 0xFE, 0xF8, 0x66}});

    enum : uint32_t {
        filter_add = 1u << 0,
        filter_remove = 1u << 1,
        filter_reorder = 1u << 2,
        filter_replace = 1u << 3,
        filter_rename = 1u << 4,
        filter_remove_playlist = 1u << 5,
        filter_default_action = 1u << 6,
    };

    // True allows the change.
    virtual bool query_items_add(size_t start, const metadb_handle_list& data,
                                 const bit_array& selection) = 0;
    virtual bool query_items_reorder(const size_t* order, size_t count) = 0;
    // `force`: the host removes regardless (dead files, shutdown); the answer is
    // advisory.
    virtual bool query_items_remove(const bit_array& mask, bool force) = 0;
    virtual bool query_item_replace(size_t index, const service_ptr_t<metadb_handle>& old_item,
                                    const service_ptr_t<metadb_handle>& new_item) = 0;
    virtual bool query_playlist_rename(const char* name, size_t name_len) = 0;
    virtual bool query_playlist_remove() = 0;
    // True when the lock took the action over; false lets the host play the item.
    virtual bool execute_default_action(size_t index) = 0;
    // The locked playlist moved to `new_index` (reorder, removal of another).
    virtual void on_playlist_index_change(size_t new_index) = 0;
    // The locked playlist is gone; the host releases the lock after this.
    virtual void on_playlist_remove() = 0;
    // A short text the host shows for the lock; `out` is replaced.
    virtual void get_lock_name(cvk::string_base& out) = 0;
    virtual void show_ui() = 0;
    virtual uint32_t get_filter_mask() = 0;
};
