#pragma once

// The host's console: a log the user can open. Any thread.

#include "service.h"

namespace qvn {

class console : public service_base {
    QVN_SERVICE_INTERFACE(console, service_base,
                          {0x4CC3BDBA, 0x5A5A, 0x45D9, {0xA5, 0x7A, 0x3A, 0x29, 0xC7, 0xEB, 0xF3, 0xBE}});

    // One line; a trailing line feed is not needed.
    virtual void print(const char* line) = 0;
};

}  // namespace qvn
