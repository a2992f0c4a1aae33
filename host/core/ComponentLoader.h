#pragma once

// Finds component bundles, binds them through their entry and unbinds them.
//
// A bundle is a folder NAME.component holding NAME.so. Built-in bundles sit in
// one folder; installed updates in PROFILE/user-components/*/ and replace a
// built-in bundle of the same NAME. A bundle that fails to bind costs one
// console line naming its path and the reason; the others still load.
//
// Threads: main thread. Ownership: the loader owns the library handles; no
// service of a component may be held past unloadAll().

#include <filesystem>
#include <string>
#include <vector>

class Console;
class ServiceRegistry;
class quorvane_api;
class quorvane_client;

struct BundleLocation {
    std::string name;              // NAME
    std::filesystem::path folder;  // .../NAME.component
};

struct LoadedComponent {
    std::string name;            // NAME
    std::filesystem::path path;  // .../NAME.component/NAME.so
    void* handle = nullptr;
    quorvane_client* client = nullptr;

    std::string fileName() const { return path.filename().string(); }
};

class ComponentLoader {
public:
    ComponentLoader(quorvane_api& api, ServiceRegistry& registry, Console& console);
    ~ComponentLoader();
    ComponentLoader(const ComponentLoader&) = delete;
    ComponentLoader& operator=(const ComponentLoader&) = delete;

    // Sorted by NAME; either folder may be missing.
    static std::vector<BundleLocation> discover(const std::filesystem::path& builtinDir,
                                                const std::filesystem::path& userComponentsDir);

    // Binds each bundle and adds its services to the registry.
    void load(const std::vector<BundleLocation>& bundles);
    // Withdraws every component's services, then drops the work they left
    // queued for the main loop and unloads them in reverse order.
    void unloadAll();

    const std::vector<LoadedComponent>& components() const { return m_components; }

private:
    bool bind(const BundleLocation& bundle);
    void fail(const std::filesystem::path& path, const std::string& reason);

    quorvane_api& m_api;
    ServiceRegistry& m_registry;
    Console& m_console;
    std::vector<LoadedComponent> m_components;
};
