#pragma once

// Failures thrown across the host/component boundary. Their type records live
// in the shared SDK library so that a catch in one module sees a throw in another.

#include "sdk_export.h"

#include <stdexcept>

// Any I/O or decoding failure; what() is the message shown to the user.
class QOV_SDK_API exception_io : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~exception_io() override;
};

// The caller's abort flag was set.
class QOV_SDK_API exception_aborted : public std::runtime_error {
public:
    exception_aborted();
    ~exception_aborted() override;
};
