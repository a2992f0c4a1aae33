#pragma once

// Platform objects carried across the service boundary: a view controller
// (QObject*) or an options dictionary (QVariantMap), held in a QVariant.
// The wrapper owns a wrapped QObject and deletes it with the last reference.
// Main thread.

#include "service.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVariantMap>

namespace qvn {

class ObjectWrapper : public service_base {
    QVN_SERVICE_INTERFACE(ObjectWrapper, service_base,
                          {0x7D5FD240, 0x4683, 0x457A, {0xBE, 0x3E, 0x5E, 0xC2, 0xB2, 0xCD, 0xE5, 0xA6}});

    explicit ObjectWrapper(QObject* object) : m_object(object), m_value(QVariant::fromValue(object)) {}
    explicit ObjectWrapper(const QVariantMap& map) : m_value(map) {}
    ~ObjectWrapper() { delete m_object.data(); }

    const QVariant& value() const { return m_value; }

private:
    QPointer<QObject> m_object;
    QVariant m_value;
};

// Null for a null object.
inline service_ptr_t<service_base> wrapNSObject(QObject* object) {
    if (!object) return {};
    return service_new<ObjectWrapper>(object);
}

inline service_ptr_t<service_base> wrapNSObject(const QVariantMap& map) {
    return service_new<ObjectWrapper>(map);
}

// The wrapped value; invalid for null or for a service that wraps nothing.
inline QVariant unwrapNSObject(service_ptr_t<service_base> wrapped) {
    service_ptr_t<ObjectWrapper> w;
    if (!(w &= wrapped)) return {};
    return w->value();
}

// The wrapped QObject, or null when it holds something else.
inline QObject* unwrapObject(service_ptr_t<service_base> wrapped) {
    const QVariant v = unwrapNSObject(std::move(wrapped));
    return v.canConvert<QObject*>() ? v.value<QObject*>() : nullptr;
}

}  // namespace qvn
