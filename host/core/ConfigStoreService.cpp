#include "ConfigStoreService.h"

#include "ConfigStore.h"
#include "Console.h"

#include "service_factory.h"

#include <mutex>

static service_factory_singleton_t<ConfigStoreService> g_configStoreServiceFactory;

namespace {

std::mutex g_mutex;
std::shared_ptr<ConfigStore> g_store;

std::shared_ptr<ConfigStore> current() {
    std::lock_guard lock(g_mutex);
    return g_store;
}

// A write with nowhere to go must not look like it succeeded.
std::shared_ptr<ConfigStore> currentForWrite(const char* name) {
    auto store = current();
    if (!store)
        Console::global().print(std::string("config: no settings store open; ") +
                                (name ? name : "(null)") + " not saved");
    return store;
}

}  // namespace

void ConfigStoreService::attach(std::shared_ptr<ConfigStore> store) {
    std::lock_guard lock(g_mutex);
    g_store = std::move(store);
}

int64_t ConfigStoreService::getConfigInt(const char* name, int64_t defaultValue) {
    const auto store = current();
    if (!store || !name) return defaultValue;
    return store->getInt(name).value_or(defaultValue);
}

void ConfigStoreService::setConfigInt(const char* name, int64_t value) {
    if (const auto store = currentForWrite(name); store && name) store->setInt(name, value);
}

qvn::stringRef ConfigStoreService::getConfigString(const char* name, qvn::stringRef defaultValue) {
    const auto store = current();
    if (!store || !name) return defaultValue;
    const auto value = store->getString(name);
    return value ? qvn::string::make(value->c_str()) : defaultValue;
}

void ConfigStoreService::setConfigString(const char* name, const char* value) {
    if (const auto store = currentForWrite(name); store && name)
        store->setString(name, value ? value : "");
}

void ConfigStoreService::deleteConfig(const char* name) {
    if (const auto store = currentForWrite(name); store && name) store->remove(name);
}
