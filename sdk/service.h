#pragma once

// Reference-counted services, identified by the class GUID of their interface.
//
// Threads: counting is atomic, so a service may be held on any thread; what a
// service may be *called* from is stated by each interface.
// Ownership: a service_ptr_t holds exactly one reference.
// Failure: a forced cast (^=) to an interface the object lacks is a fatal stop.

#include "fatal.h"
#include "guid.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

template <class T> class service_ptr_t;

class service_base {
public:
    using t_interface = service_base;

    // Slot order is part of the binary contract with the host.
    virtual int service_release() noexcept = 0;
    virtual int service_add_ref() noexcept = 0;
    virtual bool service_query(service_ptr_t<service_base>& out, const GUID& guid) = 0;

protected:
    service_base() = default;
    service_base(const service_base&) = delete;
    service_base& operator=(const service_base&) = delete;
    ~service_base() = default;
};

// Declares an interface: its parent in the query chain and its class GUID.
#define QVN_SERVICE_INTERFACE(THIS, PARENT, ...)   \
public:                                            \
    using t_interface = THIS;                      \
    using t_interface_parent = PARENT;             \
    static constexpr GUID class_guid = __VA_ARGS__

template <class T> class service_ptr_t {
public:
    service_ptr_t() noexcept = default;
    service_ptr_t(std::nullptr_t) noexcept {}
    service_ptr_t(T* p) noexcept : m_ptr(p) { if (m_ptr) m_ptr->service_add_ref(); }
    service_ptr_t(const service_ptr_t& o) noexcept : service_ptr_t(o.m_ptr) {}
    service_ptr_t(service_ptr_t&& o) noexcept : m_ptr(std::exchange(o.m_ptr, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    service_ptr_t(const service_ptr_t<U>& o) noexcept : service_ptr_t(o.get_ptr()) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    service_ptr_t(service_ptr_t<U>&& o) noexcept : m_ptr(o.detach()) {}
    ~service_ptr_t() { release(); }

    service_ptr_t& operator=(service_ptr_t o) noexcept {
        std::swap(m_ptr, o.m_ptr);
        return *this;
    }

    void release() noexcept {
        if (T* p = std::exchange(m_ptr, nullptr)) p->service_release();
    }
    void reset() noexcept { release(); }

    // Takes over a reference the caller already owns.
    void attach(T* p) noexcept {
        release();
        m_ptr = p;
    }
    T* detach() noexcept { return std::exchange(m_ptr, nullptr); }

    T* get_ptr() const noexcept { return m_ptr; }
    T* operator->() const noexcept { return m_ptr; }
    T& operator*() const noexcept { return *m_ptr; }
    bool is_valid() const noexcept { return m_ptr != nullptr; }
    bool is_empty() const noexcept { return m_ptr == nullptr; }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }

    // Forced cast: a null source clears; an object lacking T is a fatal stop.
    template <class U> service_ptr_t& operator^=(const service_ptr_t<U>& src) {
        if (!src.is_valid()) {
            release();
            return *this;
        }
        if (!cast_from(src.get_ptr())) qvn::crashWithMessage("forced cast failure");
        return *this;
    }
    // Tentative cast: false (and the target untouched) when the object lacks T.
    template <class U> bool operator&=(const service_ptr_t<U>& src) {
        return src.is_valid() && cast_from(src.get_ptr());
    }

    friend bool operator==(const service_ptr_t& a, const service_ptr_t& b) { return a.m_ptr == b.m_ptr; }

private:
    template <class U> bool cast_from(U* src) {
        service_ptr_t<service_base> tmp;
        if (!src->service_query(tmp, T::class_guid)) return false;
        attach(static_cast<T*>(tmp.detach()));
        return true;
    }

    T* m_ptr = nullptr;
};

// True when `guid` names I or one of the interfaces it extends.
template <class I> bool service_query_walk(const GUID& guid) {
    if (guid == I::class_guid) return true;
    if constexpr (std::is_same_v<typename I::t_interface_parent, service_base>)
        return false;
    else
        return service_query_walk<typename I::t_interface_parent>(guid);
}

template <class T>
bool implement_service_query(T* self, service_ptr_t<service_base>& out, const GUID& guid) {
    if (!service_query_walk<typename T::t_interface>(guid)) return false;
    out = static_cast<service_base*>(self);
    return true;
}

// Heap service with an atomic count; freed when the last reference goes.
template <class T> class service_impl_t final : public T {
public:
    template <class... A> explicit service_impl_t(A&&... args) : T(std::forward<A>(args)...) {}

    int service_add_ref() noexcept override { return m_count.fetch_add(1) + 1; }
    int service_release() noexcept override {
        const int32_t old = m_count.fetch_sub(1);
        if (old == 1) delete this;
        return old - 1;
    }
    bool service_query(service_ptr_t<service_base>& out, const GUID& guid) override {
        return implement_service_query<T>(this, out, guid);
    }

private:
    std::atomic<int32_t> m_count{0};
};

// Statically allocated service: counting is a no-op and it is never freed.
template <class T> class service_impl_single_t final : public T {
public:
    template <class... A> explicit service_impl_single_t(A&&... args) : T(std::forward<A>(args)...) {}

    int service_add_ref() noexcept override { return 1; }
    int service_release() noexcept override { return 1; }
    bool service_query(service_ptr_t<service_base>& out, const GUID& guid) override {
        return implement_service_query<T>(this, out, guid);
    }
};

// A new heap service holding one reference.
template <class T, class... A> service_ptr_t<T> service_new(A&&... args) {
    return service_ptr_t<T>(new service_impl_t<T>(std::forward<A>(args)...));
}
