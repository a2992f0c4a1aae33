#include "HostApi.h"

#include "ServiceRegistry.h"

HostApi::HostApi(ServiceRegistry& registry, const std::string& profileDir)
    : m_registry(registry),
      m_profileUrl("file://" + profileDir),
      m_mainThread(std::this_thread::get_id()) {}

service_class_ref HostApi::service_enum_find_class(const GUID& guid) {
    return m_registry.findClass(guid);
}

bool HostApi::service_enum_create(service_ptr_t<service_base>& out, service_class_ref c,
                                  size_t index) {
    return m_registry.create(out, c, index);
}

size_t HostApi::service_enum_get_count(service_class_ref c) { return m_registry.count(c); }

QWidget* HostApi::get_main_window() { return m_mainWindow; }

bool HostApi::assert_main_thread() { return is_main_thread(); }

bool HostApi::is_main_thread() { return std::this_thread::get_id() == m_mainThread; }

bool HostApi::is_shutting_down() { return m_shuttingDown; }

const char* HostApi::get_profile_path() { return m_profileUrl.c_str(); }

bool HostApi::is_initializing() { return m_initializing; }

bool HostApi::is_portable_mode_enabled() { return false; }

bool HostApi::is_quiet_mode_enabled() { return false; }
