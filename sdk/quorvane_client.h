#pragma once

// What a component's entry returns to the host.
//
// Threads: the host calls these on the main thread, in the order of the
// component life cycle: set_library_path, services_init(true), ...,
// services_init(false), unload.

#include "service_factory.h"

#include <cstdint>

class abort_callback;
class stream_reader;
class stream_writer;

class quorvane_client {
public:
    // The client interface version both sides are built for.
    static constexpr uint32_t version = 81;

    // Slot order is part of the binary contract.
    virtual uint32_t get_version() = 0;
    virtual service_factory_base* get_service_list() = 0;
    virtual void get_config(stream_writer* stream, abort_callback& abort) = 0;
    virtual void set_config(stream_reader* stream, abort_callback& abort) = 0;
    virtual void set_library_path(const char* path, const char* name) = 0;
    virtual void services_init(bool available) = 0;
    virtual bool is_debug() = 0;

protected:
    ~quorvane_client() = default;
};

class quorvane_api;

// The one export of every bundle.
extern "C" {
typedef quorvane_client* (*quorvane_entry_t)(quorvane_api* api);
}
#define QUORVANE_ENTRY_NAME "quorvane_get_interface"
