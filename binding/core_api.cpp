#include "core_api.h"

#include "component_client.h"
#include "fatal.h"

namespace {
bool hostReachable() {
    return g_quorvane_api != nullptr && g_services_available;
}
}  // namespace

namespace core_api {

const char* get_my_file_name() { return g_name.get_ptr(); }
const char* get_my_full_path() { return g_full_path.get_ptr(); }
bool are_services_available() { return g_services_available; }

QWidget* get_main_window() { return g_quorvane_api->get_main_window(); }
const char* get_profile_path() { return g_quorvane_api->get_profile_path(); }
bool is_portable_mode_enabled() { return g_quorvane_api->is_portable_mode_enabled(); }
bool is_quiet_mode_enabled() { return g_quorvane_api->is_quiet_mode_enabled(); }

bool is_main_thread() {
    return hostReachable() ? g_quorvane_api->is_main_thread() : true;
}

bool assert_main_thread() {
    return hostReachable() ? g_quorvane_api->assert_main_thread() : true;
}

void ensure_main_thread() {
    if (g_services_available && g_quorvane_api && !g_quorvane_api->is_main_thread())
        qvn::crashWithMessage("QVN_BugCheck: ensure_main_thread");
}

// Once services were available, their withdrawal can only mean shutdown.
bool is_shutting_down() {
    return hostReachable() ? g_quorvane_api->is_shutting_down() : g_initialized;
}

bool is_initializing() {
    return hostReachable() ? g_quorvane_api->is_initializing() : !g_initialized;
}

}  // namespace core_api

service_class_ref service_factory_base::enum_find_class(const GUID& guid) {
    return g_quorvane_api->service_enum_find_class(guid);
}

size_t service_factory_base::enum_get_count(service_class_ref c) {
    return g_quorvane_api->service_enum_get_count(c);
}

bool service_factory_base::enum_create(service_ptr_t<service_base>& out, service_class_ref c,
                                       size_t index) {
    return g_quorvane_api->service_enum_create(out, c, index);
}
