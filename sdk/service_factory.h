#pragma once

// Service factories: static objects that link themselves into their module's
// list at load time. The host walks the list that a component's client returns.
//
// Threads: built by static initialisers on the loading thread; read-only after.

#include "service.h"

// Opaque handle of a service class as the host knows it.
struct service_class;
using service_class_ref = service_class*;

class service_factory_base {
public:
    const GUID& get_class_guid() const { return *m_guid; }
    service_factory_base* get_next() const { return m_next; }
    virtual void instance_create(service_ptr_t<service_base>& out) = 0;

    // Head of this module's list; each module (host, every bundle) has its own.
    static service_factory_base* __internal__list;

    // Every registered service of a class across all components, through the host.
    static service_class_ref enum_find_class(const GUID& guid);
    static size_t enum_get_count(service_class_ref c);
    static bool enum_create(service_ptr_t<service_base>& out, service_class_ref c, size_t index);

protected:
    explicit service_factory_base(const GUID& guid) : m_guid(&guid), m_next(__internal__list) {
        __internal__list = this;
    }
    service_factory_base(const service_factory_base&) = delete;
    service_factory_base& operator=(const service_factory_base&) = delete;
    ~service_factory_base() = default;

private:
    const GUID* m_guid;
    service_factory_base* m_next;
};

// Embeds the one instance in the factory itself.
template <class T> class service_factory_single_t final : public service_factory_base {
public:
    template <class... A>
    explicit service_factory_single_t(A&&... args)
        : service_factory_base(T::class_guid), m_instance(std::forward<A>(args)...) {}

    void instance_create(service_ptr_t<service_base>& out) override {
        out = static_cast<service_base*>(&m_instance);
    }
    T& get_static_instance() { return m_instance; }

private:
    service_impl_single_t<T> m_instance;
};

namespace qvn {
// Holds a singleton's one heap reference from load to unload.
template <class T> class _wrap_service_singleton {
public:
    _wrap_service_singleton() : m_ptr(new service_impl_t<T>) {}
    T* get() const { return m_ptr.get_ptr(); }

private:
    service_ptr_t<T> m_ptr;
};
}  // namespace qvn

// One heap instance made at load; every request returns that same object.
template <class T> class service_factory_singleton_t final : public service_factory_base {
public:
    service_factory_singleton_t() : service_factory_base(T::class_guid) {}

    void instance_create(service_ptr_t<service_base>& out) override {
        out = static_cast<service_base*>(m_instance.get());
    }
    T& get_static_instance() { return *m_instance.get(); }

private:
    qvn::_wrap_service_singleton<T> m_instance;
};

// Typed access to every registered service of one interface.
template <class T> class service_class_helper_t {
public:
    service_class_helper_t() : m_class(service_factory_base::enum_find_class(T::class_guid)) {}
    size_t get_count() const { return service_factory_base::enum_get_count(m_class); }
    service_ptr_t<T> create(size_t index) const {
        service_ptr_t<service_base> base;
        if (!service_factory_base::enum_create(base, m_class, index)) uBugCheck();
        service_ptr_t<T> out;
        out ^= base;
        return out;
    }

private:
    service_class_ref m_class;
};
