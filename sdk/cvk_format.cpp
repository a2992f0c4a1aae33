#include "cvk_format.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace cvk {

stringLite format_float(double value, unsigned width, unsigned precision) {
    const int w = int(std::min(width, 1024u));
    const int p = int(std::min(precision, 1024u));
    const int len = std::snprintf(nullptr, 0, "%*.*f", w, p, value);
    if (len <= 0) return stringLite();
    std::string text(size_t(len) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%*.*f", w, p, value);
    text.resize(size_t(len));

    // A minus sign before nothing but zeros reads as a negative amount.
    const size_t minus = text.find('-');
    if (minus != std::string::npos && text.find_first_not_of("0.", minus + 1) == std::string::npos) {
        text.erase(minus, 1);
        if (text.size() < size_t(w)) text.insert(0, 1, ' ');
    }
    return stringLite(text);
}

}  // namespace cvk
