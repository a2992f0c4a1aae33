#pragma once

// The configuration store as the components reach it
// (qvn::std_api_get<qvn::configStore>()): forwards to the ConfigStore the host
// attached for the profile. Any thread.

#include "config_store.h"

#include <memory>

class ConfigStore;

class ConfigStoreService : public qvn::configStore {
public:
    // The host attaches the profile's store before binding components and
    // detaches it after unloading them; null detaches.
    static void attach(std::shared_ptr<ConfigStore> store);

    int64_t getConfigInt(const char* name, int64_t defaultValue) override;
    void setConfigInt(const char* name, int64_t value) override;
    qvn::stringRef getConfigString(const char* name, qvn::stringRef defaultValue) override;
    void setConfigString(const char* name, const char* value) override;
    void deleteConfig(const char* name) override;

    using qvn::configStore::getConfigString;
};
