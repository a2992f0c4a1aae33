#pragma once

// A component's identity, as the host lists it. Main thread.

#include "cvk_string.h"
#include "service.h"

class componentversion : public service_base {
    QVN_SERVICE_INTERFACE(componentversion, service_base,
                          {0xC4130FA4, 0x256E, 0x441C, {0x8A, 0x87, 0x60, 0x89, 0x08, 0x6F, 0xD3, 0x84}});

    // Each appends to `out`.
    virtual void get_file_name(cvk::string_base& out) = 0;
    virtual void get_component_name(cvk::string_base& out) = 0;
    virtual void get_component_version(cvk::string_base& out) = 0;
    virtual void get_about_message(cvk::string_base& out) = 0;
};
