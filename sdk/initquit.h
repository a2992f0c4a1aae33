#pragma once

// Start-up and shut-down hooks. Main thread: on_init after every component is
// bound and its services are available; on_quit before they are withdrawn.

#include "service.h"

class initquit : public service_base {
    QVN_SERVICE_INTERFACE(initquit, service_base,
                          {0x3867039D, 0xF625, 0x4B6A, {0xBD, 0x58, 0xF7, 0x3E, 0x82, 0x7A, 0x0D, 0x3A}});

    virtual void on_init() {}
    virtual void on_quit() {}
};
