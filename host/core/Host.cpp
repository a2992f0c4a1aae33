#include "Host.h"

#include "ConfigStore.h"
#include "ConfigStoreService.h"
#include "Console.h"
#include "ServiceRegistry.h"
#include "UserDefaults.h"

#include "initquit.h"
#include "quorvane_client.h"

#include <QFile>

#include <exception>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path absoluteFolder(const fs::path& dir) {
    fs::path p = fs::absolute(dir).lexically_normal();
    if (!p.has_filename() && p.has_parent_path() && p != p.root_path()) p = p.parent_path();
    return p;
}

}  // namespace

struct Host::Hook {
    std::string owner;
    service_factory_base* factory;
};

Host::Host(const fs::path& profileDir, const fs::path& builtinComponentsDir,
           ServiceRegistry& registry, Console& console)
    : m_profile(absoluteFolder(profileDir)),
      m_builtin(builtinComponentsDir),
      m_registry(registry),
      m_console(console),
      m_api(registry, m_profile.string()),
      m_loader(m_api, registry, console) {}

Host::~Host() {
    if (m_initHooksRan && !m_quitHooksRan) runQuitHooks();
    unload();
}

bool Host::start(bool runInitHooks) {
    if (!openProfile()) return false;
    loadComponents(runInitHooks);
    return true;
}

bool Host::openProfile() {
    std::error_code ec;
    fs::create_directories(m_profile, ec);
    if (!fs::is_directory(m_profile, ec)) {
        m_console.print("Cannot create the profile folder " + m_profile.string());
        return false;
    }
    // What components keep as user defaults belongs to the profile, as their
    // configuration does.
    platform::UserDefaults::setFolder(QFile::decodeName(m_profile.c_str()));
    m_store = std::make_shared<ConfigStore>(m_profile / "config.sqlite", m_console);
    ConfigStoreService::attach(m_store);
    m_registry.addModule(service_factory_base::__internal__list);
    return true;
}

void Host::loadComponents(bool runInitHooks) {
    m_loader.load(ComponentLoader::discover(m_builtin, m_profile / "user-components"));
    if (runInitHooks) {
        m_initHooksRan = true;
        for (const Hook& h : initquitHooks()) callHook(h, &initquit::on_init, "Start-up");
        m_api.setInitializing(false);
    }
}

void Host::runQuitHooks() {
    m_api.setShuttingDown(true);
    if (m_quitHooksRan || !m_initHooksRan) return;
    m_quitHooksRan = true;
    const auto hooks = initquitHooks();
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
        callHook(*it, &initquit::on_quit, "Shut-down");
}

void Host::unload() {
    m_api.setShuttingDown(true);
    m_loader.unloadAll();
    m_api.setMainWindow(nullptr);
    if (m_store) {
        ConfigStoreService::attach(nullptr);
        m_store.reset();
    }
}

// The host's own hooks first, then each component's in binding order.
std::vector<Host::Hook> Host::initquitHooks() const {
    std::vector<Hook> hooks;
    auto collect = [&](const std::string& owner, service_factory_base* head) {
        for (service_factory_base* f = head; f; f = f->get_next())
            if (f->get_class_guid() == initquit::class_guid) hooks.push_back({owner, f});
    };
    collect("quorvane", service_factory_base::__internal__list);
    for (const auto& c : m_loader.components())
        collect(c.path.string(), c.client->get_service_list());
    return hooks;
}

void Host::callHook(const Hook& h, void (initquit::*call)(), const char* what) {
    service_ptr_t<service_base> made;
    h.factory->instance_create(made);
    service_ptr_t<initquit> hook;
    if (!(hook &= made)) return;
    try {
        (hook.get_ptr()->*call)();
    } catch (const std::exception& e) {
        m_console.print(std::string(what) + " hook of " + h.owner + " failed: " + e.what());
    } catch (...) {
        m_console.print(std::string(what) + " hook of " + h.owner + " failed");
    }
}
