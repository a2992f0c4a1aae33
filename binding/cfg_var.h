#pragma once

// Persistent settings in the host's configuration store, one static object per
// setting, keyed by GUID.
//
// Loaded from the store on first use (never before the host's services are
// available), then authoritative for this process: later outside changes to
// the store are not seen. A set writes through at once; an unchanged value
// writes nothing. Safe from any thread.

#include "cvk_string.h"
#include "guid.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <shared_mutex>

namespace qvn {
// "cfg_var." + the GUID, 36 upper-case characters without braces.
cvk::stringLite formatCfgVarName(const GUID& guid);
}  // namespace qvn

namespace cfg_var_modern {

class cfg_int {
public:
    cfg_int(const GUID& guid, int64_t defaultValue) : m_guid(guid), m_default(defaultValue) {}
    cfg_int(const cfg_int&) = delete;
    cfg_int& operator=(const cfg_int&) = delete;

    int64_t get();
    void set(int64_t v);

private:
    const GUID m_guid;
    const int64_t m_default;
    std::atomic<int64_t> m_value{0};
    std::once_flag m_loaded;
};

class cfg_string {
public:
    cfg_string(const GUID& guid, const char* defaultValue) : m_guid(guid), m_default(defaultValue) {}
    cfg_string(const cfg_string&) = delete;
    cfg_string& operator=(const cfg_string&) = delete;

    // Appends the current value to `out`.
    void get(cvk::string_base& out);
    cvk::stringLite get();
    // Null sets the empty text.
    void set(const char* s);

private:
    void load();

    const GUID m_guid;
    const cvk::stringLite m_default;
    std::shared_mutex m_lock;
    cvk::stringLite m_value;
    std::once_flag m_loaded;
};

}  // namespace cfg_var_modern
