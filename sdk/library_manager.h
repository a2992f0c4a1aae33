#pragma once

// The host's media library: the tracks of the folders the user has configured.
//
// Threads: main thread.
// Ownership: the host's one instance; fetch with qvn::std_api_get.
// Failure: a library that is not configured is empty, never an error.

#include "metadb_handle.h"
#include "service.h"

class library_manager : public service_base {
    QVN_SERVICE_INTERFACE(library_manager, service_base,
                          {0xDE160169, 0xFD6C, 0x4E0E, {0xAD, 0xE4, 0xBE, 0xFE, 0xB2, 0x72, 0x84, 0x96}});

    // False when the user has configured no library folders.
    virtual bool is_library_enabled() = 0;
    // In the library's own order (stable between calls while the library does
    // not change); `out` is replaced.
    virtual void get_all_items(metadb_handle_list& out) = 0;
    virtual bool is_item_in_library(const service_ptr_t<metadb_handle>& track) = 0;
};
