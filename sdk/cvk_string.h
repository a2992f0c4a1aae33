#pragma once

#include "guid.h"
#include "sdk_export.h"

#include <cstddef>
#include <string>

// The SDK's minimal string types. Hosts append into a component's string through
// string_base, so the interface is virtual and never exposes an allocator.
namespace cvk {

class string_base {
public:
    static constexpr size_t npos = size_t(-1);

    virtual const char* get_ptr() const = 0;
    virtual size_t get_length() const = 0;
    // Appends at most `len` bytes, stopping early at a NUL.
    virtual void add_string(const char* s, size_t len = npos) = 0;
    virtual void truncate(size_t len) = 0;

    void set_string(const char* s, size_t len = npos) { truncate(0); add_string(s, len); }
    void reset() { truncate(0); }
    bool is_empty() const { return get_length() == 0; }
    const char* c_str() const { return get_ptr(); }
    operator const char*() const { return get_ptr(); }
    string_base& operator=(const char* s) { set_string(s); return *this; }
    string_base& operator+=(const char* s) { add_string(s); return *this; }

protected:
    string_base() = default;
    string_base(const string_base&) = default;
    string_base& operator=(const string_base&) = default;
    ~string_base() = default;
};

class QOV_SDK_API stringLite final : public string_base {
public:
    stringLite() = default;
    stringLite(const char* s) { add_string(s); }
    stringLite(const std::string& s) : m_s(s) {}
    stringLite(const stringLite&) = default;
    stringLite(stringLite&&) noexcept = default;
    stringLite& operator=(const stringLite&) = default;
    stringLite& operator=(stringLite&&) noexcept = default;
    stringLite& operator=(const char* s) { set_string(s); return *this; }

    const char* get_ptr() const override { return m_s.c_str(); }
    size_t get_length() const override { return m_s.size(); }
    void add_string(const char* s, size_t len = npos) override;
    void truncate(size_t len) override { if (len < m_s.size()) m_s.resize(len); }

    const std::string& str() const { return m_s; }

private:
    std::string m_s;
};

// 36 characters, upper case, groups 8-4-4-4-12, no braces.
QOV_SDK_API stringLite print_guid(const GUID& g);

}  // namespace cvk
