#pragma once

// The component side of the binding: the globals the host sets through the
// client object, and the object itself. One set per bundle.

#include "cvk_string.h"
#include "quorvane_api.h"
#include "quorvane_client.h"

extern quorvane_api* g_quorvane_api;
extern cvk::stringLite g_name;
extern cvk::stringLite g_full_path;
// Written only by the host's services_init calls.
extern bool g_services_available;
// Set the first time services become available; never cleared.
extern bool g_initialized;

class quorvane_client_impl final : public quorvane_client {
public:
    uint32_t get_version() override;
    service_factory_base* get_service_list() override;
    void get_config(stream_writer* stream, abort_callback& abort) override;
    void set_config(stream_reader* stream, abort_callback& abort) override;
    void set_library_path(const char* path, const char* name) override;
    void services_init(bool available) override;
    bool is_debug() override;
};

extern quorvane_client_impl g_client;

extern "C" __attribute__((visibility("default"))) quorvane_client* quorvane_get_interface(quorvane_api* api);
