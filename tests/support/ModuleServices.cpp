// The binding layer's part for a test program that is a module on its own:
// services are found in the program's own factory list, without a host.

#include "service_factory.h"

service_factory_base* service_factory_base::__internal__list = nullptr;

namespace {
// A class is named by the first factory of its GUID.
service_factory_base* nthOfClass(service_class_ref c, size_t index) {
    if (!c) return nullptr;
    const GUID& guid = reinterpret_cast<service_factory_base*>(c)->get_class_guid();
    for (auto* f = service_factory_base::__internal__list; f; f = f->get_next())
        if (f->get_class_guid() == guid && index-- == 0) return f;
    return nullptr;
}
}  // namespace

service_class_ref service_factory_base::enum_find_class(const GUID& guid) {
    for (auto* f = __internal__list; f; f = f->get_next())
        if (f->get_class_guid() == guid) return reinterpret_cast<service_class_ref>(f);
    return nullptr;
}

size_t service_factory_base::enum_get_count(service_class_ref c) {
    size_t count = 0;
    while (nthOfClass(c, count)) ++count;
    return count;
}

bool service_factory_base::enum_create(service_ptr_t<service_base>& out, service_class_ref c, size_t index) {
    service_factory_base* f = nthOfClass(c, index);
    if (!f) return false;
    f->instance_create(out);
    return true;
}
