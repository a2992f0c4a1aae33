#pragma once

// What component code may ask the host about its own state. The thread and
// life-cycle questions answer sensibly before the host is reachable (during
// static initialisation and after services are withdrawn).

class QWidget;

namespace core_api {

const char* get_my_file_name();
const char* get_my_full_path();
bool are_services_available();

// Forwarded to the host unguarded: only valid while services are available.
QWidget* get_main_window();
const char* get_profile_path();
bool is_portable_mode_enabled();
bool is_quiet_mode_enabled();

bool is_main_thread();
bool assert_main_thread();
// A fatal stop when called off the main thread while the host is reachable.
void ensure_main_thread();
bool is_shutting_down();
bool is_initializing();

}  // namespace core_api
