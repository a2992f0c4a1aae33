#pragma once

// The one instance of a host API. Fetch at each use; do not cache across calls.
// Exactly one registered instance is part of the host's contract: none or
// several is a fatal stop.

#include "service_factory.h"

namespace qvn {

template <class T> bool _standard_api_try_get_internal(service_ptr_t<T>& out) {
    service_class_ref c = service_factory_base::enum_find_class(T::class_guid);
    if (!c || service_factory_base::enum_get_count(c) != 1) return false;
    service_ptr_t<service_base> base;
    if (!service_factory_base::enum_create(base, c, 0)) return false;
    out ^= base;
    return out.is_valid();
}

template <class T> service_ptr_t<T> std_api_get() {
    service_ptr_t<T> out;
    if (!_standard_api_try_get_internal(out)) uBugCheck();
    return out;
}

}  // namespace qvn
