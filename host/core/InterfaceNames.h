#pragma once

// Names of the service interfaces the host knows, for listings and messages.
// Any thread.

#include "guid.h"

#include <string>

class InterfaceNames {
public:
    // The interface's name, or the GUID text for one the host does not know.
    static std::string nameOf(const GUID& guid);
};
