#pragma once

// What a caught exception says, for a console line or a placeholder: the host
// survives whatever a component throws.

#include <QString>

#include <exception>

inline QString whatOf(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& x) {
        return QString::fromUtf8(x.what());
    } catch (...) {
        return QStringLiteral("unknown exception");
    }
}
