#include "FakeHost.h"

#include "component_client.h"

#include <cstring>

bool FakeHost::Less::operator()(const GUID& a, const GUID& b) const {
    return std::memcmp(&a, &b, sizeof(GUID)) < 0;
}

void FakeHost::add(const GUID& cls, service_ptr_t<service_base> instance) {
    m_classes[cls].push_back(std::move(instance));
}

service_class_ref FakeHost::service_enum_find_class(const GUID& guid) {
    auto it = m_classes.find(guid);
    return it == m_classes.end() ? nullptr : reinterpret_cast<service_class_ref>(&it->second);
}

bool FakeHost::service_enum_create(service_ptr_t<service_base>& out, service_class_ref c, size_t index) {
    auto* list = reinterpret_cast<std::vector<service_ptr_t<service_base>>*>(c);
    if (!list || index >= list->size()) return false;
    out = (*list)[index];
    return true;
}

size_t FakeHost::service_enum_get_count(service_class_ref c) {
    auto* list = reinterpret_cast<std::vector<service_ptr_t<service_base>>*>(c);
    return list ? list->size() : 0;
}

BoundFakeHost::BoundFakeHost() {
    quorvane_get_interface(&host);
    g_client.services_init(true);
}

BoundFakeHost::~BoundFakeHost() {
    g_client.services_init(false);
    g_quorvane_api = nullptr;
    g_initialized = false;
}
