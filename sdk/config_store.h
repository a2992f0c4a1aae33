#pragma once

// The host's persistent key-value store.
//
// Threads: any. Writes are durable once the call returns (the host commits
// them); a key never written reads as the given default.

#include "qvn_string.h"

#include <cstdint>

namespace qvn {

class configStore : public service_base {
    QVN_SERVICE_INTERFACE(configStore, service_base,
                          {0x2336743A, 0x078E, 0x4FEF, {0x9D, 0xFB, 0xE5, 0x69, 0xA9, 0x4E, 0xB5, 0x72}});

    virtual int64_t getConfigInt(const char* name, int64_t defaultValue) = 0;
    virtual void setConfigInt(const char* name, int64_t value) = 0;
    // Null default reads back as null for a missing key.
    virtual stringRef getConfigString(const char* name, stringRef defaultValue) = 0;
    virtual void setConfigString(const char* name, const char* value) = 0;
    virtual void deleteConfig(const char* name) = 0;

    stringRef getConfigString(const char* name, const char* defaultValue) {
        return getConfigString(name, defaultValue ? string::make(defaultValue) : stringRef());
    }
};

}  // namespace qvn
