#pragma once

// The core interface every component's entry receives: service lookup over the
// registry, the profile folder, the main window and the life-cycle flags.
//
// Threads: is_main_thread from any thread; the rest as the interface says.
// Ownership: outlives every bound component.

#include "quorvane_api.h"

#include <atomic>
#include <string>
#include <thread>

class ServiceRegistry;

class HostApi final : public quorvane_api {
public:
    // The constructing thread becomes the main thread.
    HostApi(ServiceRegistry& registry, const std::string& profileDir);

    service_class_ref service_enum_find_class(const GUID& guid) override;
    bool service_enum_create(service_ptr_t<service_base>& out, service_class_ref c,
                             size_t index) override;
    size_t service_enum_get_count(service_class_ref c) override;
    QWidget* get_main_window() override;
    bool assert_main_thread() override;
    bool is_main_thread() override;
    bool is_shutting_down() override;
    const char* get_profile_path() override;
    bool is_initializing() override;
    bool is_portable_mode_enabled() override;
    bool is_quiet_mode_enabled() override;

    void setMainWindow(QWidget* window) { m_mainWindow = window; }
    void setInitializing(bool on) { m_initializing = on; }
    void setShuttingDown(bool on) { m_shuttingDown = on; }
    ServiceRegistry& registry() const { return m_registry; }

private:
    ServiceRegistry& m_registry;
    // Plain "file://" + path, not percent-encoded: components strip the scheme
    // and use the rest as a path.
    const std::string m_profileUrl;
    const std::thread::id m_mainThread;
    std::atomic<QWidget*> m_mainWindow{nullptr};
    std::atomic<bool> m_initializing{true};
    std::atomic<bool> m_shuttingDown{false};
};
