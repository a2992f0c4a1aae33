#pragma once

// One registry over the host's own factories and those of every bound bundle:
// what service_factory_base::enum_* answer in the host and what the host's core
// interface answers to the bundles.
//
// Threads: lookups from any thread (decoders fetch services off the main
// thread); modules are added and removed on the main thread. A class
// reference stays valid for the life of the registry.

#include "service_factory.h"

#include <map>
#include <memory>
#include <shared_mutex>
#include <vector>

class ServiceRegistry {
public:
    ServiceRegistry();
    ~ServiceRegistry();
    ServiceRegistry(const ServiceRegistry&) = delete;
    ServiceRegistry& operator=(const ServiceRegistry&) = delete;

    // The process's registry; it already holds the host's own factories.
    static ServiceRegistry& global();

    // `head` is a module's factory list; adding the same list twice is ignored.
    void addModule(service_factory_base* head);
    // Call before the module's code is unloaded.
    void removeModule(service_factory_base* head);

    // Never null: a class nobody registered yet simply has no instances.
    service_class_ref findClass(const GUID& guid);
    size_t count(service_class_ref c) const;
    // False, leaving `out` alone, for an index past the count.
    bool create(service_ptr_t<service_base>& out, service_class_ref c, size_t index) const;

private:
    struct GuidLess {
        bool operator()(const GUID& a, const GUID& b) const;
    };

    void rebuildLocked();

    mutable std::shared_mutex m_mutex;
    std::vector<service_factory_base*> m_modules;
    std::map<GUID, std::unique_ptr<service_class>, GuidLess> m_classes;
};
