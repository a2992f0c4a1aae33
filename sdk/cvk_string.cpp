#include "cvk_string.h"

#include <cstdio>
#include <cstring>

namespace cvk {

void stringLite::add_string(const char* s, size_t len) {
    if (!s) return;
    size_t n = 0;
    while (n < len && s[n] != '\0') ++n;
    m_s.append(s, n);
}

stringLite print_guid(const GUID& g) {
    char buf[37];
    std::snprintf(buf, sizeof buf, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  unsigned(g.Data1), unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return stringLite(buf);
}

}  // namespace cvk
