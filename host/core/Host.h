#pragma once

// The host's life cycle: profile, settings store, components and their hooks.
//
//   start()          openProfile() then loadComponents()
//   openProfile()    profile folder, settings store and user defaults
//                    (QSettings): the host's own services can open their
//                    files before any bundle binds
//   loadComponents() every bundle bound, then (unless only listing) on_init
//                    of every initquit
//   runQuitHooks()   shutting down from here on; on_quit of every initquit
//   unload()         components withdrawn and unloaded, store closed
//
// Threads: main thread. No widget here: the window is the caller's, and must be
// gone before unload() once it holds component views.

#include "ComponentLoader.h"
#include "HostApi.h"

#include <filesystem>
#include <memory>
#include <vector>

class ConfigStore;
class Console;
class initquit;
class ServiceRegistry;

class Host {
public:
    Host(const std::filesystem::path& profileDir, const std::filesystem::path& builtinComponentsDir,
         ServiceRegistry& registry, Console& console);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // False when the profile folder cannot be made (the console says why).
    bool start(bool runInitHooks = true);
    bool openProfile();
    void loadComponents(bool runInitHooks = true);
    void runQuitHooks();
    void unload();

    HostApi& api() { return m_api; }
    const std::filesystem::path& profileDir() const { return m_profile; }
    const std::vector<LoadedComponent>& components() const { return m_loader.components(); }

private:
    struct Hook;
    std::vector<Hook> initquitHooks() const;
    void callHook(const Hook& h, void (initquit::*call)(), const char* what);

    const std::filesystem::path m_profile;
    const std::filesystem::path m_builtin;
    ServiceRegistry& m_registry;
    Console& m_console;
    HostApi m_api;
    std::shared_ptr<ConfigStore> m_store;
    ComponentLoader m_loader;
    bool m_initHooksRan = false;
    bool m_quitHooksRan = false;
};
