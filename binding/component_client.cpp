#include "component_client.h"

#include "BundleWork.h"

service_factory_base* service_factory_base::__internal__list = nullptr;

quorvane_api* g_quorvane_api = nullptr;
cvk::stringLite g_name;
cvk::stringLite g_full_path;
bool g_services_available = false;
bool g_initialized = false;
quorvane_client_impl g_client;

uint32_t quorvane_client_impl::get_version() {
    return quorvane_client::version;
}

service_factory_base* quorvane_client_impl::get_service_list() {
    return service_factory_base::__internal__list;
}

// No legacy configuration blob: settings live in the host's store.
void quorvane_client_impl::get_config(stream_writer*, abort_callback&) {}
void quorvane_client_impl::set_config(stream_reader*, abort_callback&) {}

void quorvane_client_impl::set_library_path(const char* path, const char* name) {
    g_full_path = path;
    g_name = name;
}

void quorvane_client_impl::services_init(bool available) {
    // Withdrawal is the host's last call before it unloads us: no thread may run
    // our code after it, and until our workers end they may still use services.
    if (!available) qvn::joinWorkers();
    if (available) g_initialized = true;
    g_services_available = available;
}

bool quorvane_client_impl::is_debug() {
    return false;
}

quorvane_client* quorvane_get_interface(quorvane_api* api) {
    g_quorvane_api = api;
    return &g_client;
}
