#pragma once

// Offers one service object under a parent interface's class GUID as well, so
// that qvn::std_api_get finds it by either interface (a host registering its
// playlist_manager_v2 also as playlist_manager).
//
// Threads: as service_factory.h.

#include "service_factory.h"

#include <type_traits>

template <class Parent>
class service_factory_alias_t final : public service_factory_base {
public:
    // `target` must outlive this factory; it may still be unconstructed here
    // (static initialisation order), as it is used only when asked.
    template <class T>
    explicit service_factory_alias_t(service_factory_singleton_t<T>& target)
        : service_factory_base(Parent::class_guid), m_target(&target) {
        static_assert(std::is_base_of_v<Parent, T>, "the target must implement Parent");
    }

    void instance_create(service_ptr_t<service_base>& out) override { m_target->instance_create(out); }

private:
    service_factory_base* m_target;
};
