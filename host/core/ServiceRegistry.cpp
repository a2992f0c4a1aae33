#include "ServiceRegistry.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <tuple>

// The SDK leaves the class record opaque; this is the host's.
struct service_class {
    GUID guid;
    std::vector<service_factory_base*> factories;
};

// The host is a module like any bundle: its own factories link in here.
service_factory_base* service_factory_base::__internal__list = nullptr;

service_class_ref service_factory_base::enum_find_class(const GUID& guid) {
    return ServiceRegistry::global().findClass(guid);
}

size_t service_factory_base::enum_get_count(service_class_ref c) {
    return ServiceRegistry::global().count(c);
}

bool service_factory_base::enum_create(service_ptr_t<service_base>& out, service_class_ref c,
                                       size_t index) {
    return ServiceRegistry::global().create(out, c, index);
}

bool ServiceRegistry::GuidLess::operator()(const GUID& a, const GUID& b) const {
    return std::tie(a.Data1, a.Data2, a.Data3) < std::tie(b.Data1, b.Data2, b.Data3) ||
           (std::tie(a.Data1, a.Data2, a.Data3) == std::tie(b.Data1, b.Data2, b.Data3) &&
            std::memcmp(a.Data4, b.Data4, sizeof a.Data4) < 0);
}

ServiceRegistry::ServiceRegistry() = default;
ServiceRegistry::~ServiceRegistry() = default;

ServiceRegistry& ServiceRegistry::global() {
    static ServiceRegistry registry;
    static std::once_flag once;
    std::call_once(once, [] { registry.addModule(service_factory_base::__internal__list); });
    return registry;
}

void ServiceRegistry::addModule(service_factory_base* head) {
    if (!head) return;
    std::unique_lock lock(m_mutex);
    if (std::find(m_modules.begin(), m_modules.end(), head) != m_modules.end()) return;
    m_modules.push_back(head);
    rebuildLocked();
}

void ServiceRegistry::removeModule(service_factory_base* head) {
    std::unique_lock lock(m_mutex);
    const auto it = std::find(m_modules.begin(), m_modules.end(), head);
    if (it == m_modules.end()) return;
    m_modules.erase(it);
    rebuildLocked();
}

void ServiceRegistry::rebuildLocked() {
    // Records are kept, only emptied: bundles may hold class references.
    for (auto& [guid, record] : m_classes) record->factories.clear();
    for (service_factory_base* head : m_modules) {
        for (service_factory_base* f = head; f; f = f->get_next()) {
            auto& record = m_classes[f->get_class_guid()];
            if (!record) record.reset(new service_class{f->get_class_guid(), {}});
            record->factories.push_back(f);
        }
    }
}

service_class_ref ServiceRegistry::findClass(const GUID& guid) {
    {
        std::shared_lock lock(m_mutex);
        const auto it = m_classes.find(guid);
        if (it != m_classes.end()) return it->second.get();
    }
    std::unique_lock lock(m_mutex);
    auto& record = m_classes[guid];
    if (!record) record.reset(new service_class{guid, {}});
    return record.get();
}

size_t ServiceRegistry::count(service_class_ref c) const {
    if (!c) return 0;
    std::shared_lock lock(m_mutex);
    return c->factories.size();
}

bool ServiceRegistry::create(service_ptr_t<service_base>& out, service_class_ref c,
                             size_t index) const {
    if (!c) return false;
    service_factory_base* factory = nullptr;
    {
        std::shared_lock lock(m_mutex);
        if (index >= c->factories.size()) return false;
        factory = c->factories[index];
    }
    // Outside the lock: making an instance may look other services up.
    service_ptr_t<service_base> made;
    factory->instance_create(made);
    if (!made.is_valid()) return false;
    out = std::move(made);
    return true;
}
