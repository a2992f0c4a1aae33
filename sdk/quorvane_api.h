#pragma once

// The host's core interface, handed to every component's entry.
//
// Threads: the three service lookups and is_main_thread may be called from any
// thread (worker threads fetch decoders and album art); the rest from the main
// thread. The host owns the object for the life of the process.

#include "service_factory.h"

class QWidget;

class quorvane_api {
public:
    // Slot order is part of the binary contract.
    virtual service_class_ref service_enum_find_class(const GUID& guid) = 0;
    virtual bool service_enum_create(service_ptr_t<service_base>& out, service_class_ref c,
                                     size_t index) = 0;
    virtual size_t service_enum_get_count(service_class_ref c) = 0;
    virtual QWidget* get_main_window() = 0;
    virtual bool assert_main_thread() = 0;
    virtual bool is_main_thread() = 0;
    virtual bool is_shutting_down() = 0;
    // The profile folder as a "file://" URL text.
    virtual const char* get_profile_path() = 0;
    virtual bool is_initializing() = 0;
    virtual bool is_portable_mode_enabled() = 0;
    virtual bool is_quiet_mode_enabled() = 0;

protected:
    ~quorvane_api() = default;
};
