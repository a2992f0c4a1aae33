#include "ComponentLoader.h"

#include "Console.h"
#include "ServiceRegistry.h"

#include "MainQueue.h"
#include "quorvane_client.h"

#include <QCoreApplication>

#include <dlfcn.h>

#include <algorithm>
#include <exception>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBundleSuffix = ".component";

// NAME of a NAME.component folder; empty for anything else.
std::string bundleName(const fs::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_directory(ec)) return {};
    const std::string folder = entry.path().filename().string();
    if (folder.size() <= kBundleSuffix.size() || !folder.ends_with(kBundleSuffix)) return {};
    return folder.substr(0, folder.size() - kBundleSuffix.size());
}

void collect(const fs::path& dir, std::map<std::string, fs::path>& found) {
    std::error_code ec;
    std::vector<fs::directory_entry> entries;
    for (const auto& e : fs::directory_iterator(dir, ec)) entries.push_back(e);
    std::sort(entries.begin(), entries.end());
    for (const auto& e : entries)
        if (std::string name = bundleName(e); !name.empty()) found[name] = e.path();
}

std::string what(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& x) {
        return x.what();
    } catch (...) {
        return "unknown exception";
    }
}

}  // namespace

ComponentLoader::ComponentLoader(quorvane_api& api, ServiceRegistry& registry, Console& console)
    : m_api(api), m_registry(registry), m_console(console) {}

ComponentLoader::~ComponentLoader() { unloadAll(); }

std::vector<BundleLocation> ComponentLoader::discover(const fs::path& builtinDir,
                                                      const fs::path& userComponentsDir) {
    std::map<std::string, fs::path> found;
    collect(builtinDir, found);
    // Installed updates come second so that they replace the built-in copy.
    std::error_code ec;
    std::vector<fs::path> installs;
    for (const auto& e : fs::directory_iterator(userComponentsDir, ec))
        if (e.is_directory(ec)) installs.push_back(e.path());
    std::sort(installs.begin(), installs.end());
    for (const auto& dir : installs) collect(dir, found);

    std::vector<BundleLocation> out;
    for (auto& [name, folder] : found) out.push_back({name, folder});
    return out;
}

void ComponentLoader::load(const std::vector<BundleLocation>& bundles) {
    for (const auto& b : bundles) bind(b);
}

void ComponentLoader::fail(const fs::path& path, const std::string& reason) {
    m_console.print("Failed to load component " + path.string() + ": " + reason);
}

bool ComponentLoader::bind(const BundleLocation& bundle) {
    const fs::path so = bundle.folder / (bundle.name + ".so");
    for (const auto& c : m_components) {
        if (c.name == bundle.name) {
            fail(so,
                 "a component named " + bundle.name + " is already loaded from " + c.path.string());
            return false;
        }
    }
    std::error_code ec;
    if (!fs::is_regular_file(so, ec)) {
        fail(so, "no " + so.filename().string() + " in the bundle");
        return false;
    }
    void* handle = dlopen(so.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = dlerror();
        fail(so, err ? err : "cannot load the library");
        return false;
    }
    const auto entry = reinterpret_cast<quorvane_entry_t>(dlsym(handle, QUORVANE_ENTRY_NAME));
    if (!entry) {
        dlclose(handle);
        fail(so, "no entry point " QUORVANE_ENTRY_NAME);
        return false;
    }

    quorvane_client* client = nullptr;
    try {
        client = entry(&m_api);
        if (!client) {
            dlclose(handle);
            fail(so, "the entry point returned no client");
            return false;
        }
        if (const uint32_t v = client->get_version(); v != quorvane_client::version) {
            dlclose(handle);
            fail(so, "client version " + std::to_string(v) + ", this host needs " +
                         std::to_string(quorvane_client::version));
            return false;
        }
        client->set_library_path(so.c_str(), bundle.name.c_str());
        client->services_init(true);
    } catch (...) {
        const std::string reason = what(std::current_exception());
        dlclose(handle);
        fail(so, "binding threw: " + reason);
        return false;
    }

    m_registry.addModule(client->get_service_list());
    m_components.push_back({bundle.name, so, handle, client});
    return true;
}

void ComponentLoader::unloadAll() {
    if (m_components.empty()) return;
    for (auto it = m_components.rbegin(); it != m_components.rend(); ++it) {
        m_registry.removeModule(it->client->get_service_list());
        try {
            it->client->services_init(false);
        } catch (...) {
            m_console.print("Component " + it->path.string() +
                            " threw while withdrawing: " + what(std::current_exception()));
        }
    }
    // Nothing queued may outlive the code it holds: work left for the main loop
    // is dropped, objects left to deleteLater are deleted while they still can be.
    platform::dropPendingWork();
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    while (!m_components.empty()) {
        dlclose(m_components.back().handle);
        m_components.pop_back();
    }
}
