#pragma once

// The host's immutable, counted string object. Any thread.

#include "service.h"

#include <string>

namespace qvn {

class string : public service_base {
    QVN_SERVICE_INTERFACE(string, service_base,
                          {0xA480E912, 0x6617, 0x40FD, {0x86, 0xD8, 0xEF, 0xBA, 0xE7, 0x93, 0xDD, 0x36}});

    virtual const char* c_str() const = 0;
    virtual size_t length() const = 0;

    // A new string holding a copy of the UTF-8 text; null reads as empty.
    static service_ptr_t<string> make(const char* utf8);

private:
    class impl;
};

using stringRef = service_ptr_t<string>;

class string::impl : public string {
public:
    explicit impl(const char* s) : m_text(s ? s : "") {}
    const char* c_str() const override { return m_text.c_str(); }
    size_t length() const override { return m_text.size(); }

private:
    const std::string m_text;
};

inline service_ptr_t<string> string::make(const char* utf8) {
    return service_new<impl>(utf8);
}

}  // namespace qvn
