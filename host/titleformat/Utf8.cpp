#include "Utf8.h"

namespace titleformat {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Decodes the character at `pos`; a malformed byte yields char32_t(-1) and size 1.
char32_t decode(std::string_view s, std::size_t pos, std::size_t& size) {
    auto b0 = static_cast<unsigned char>(s[pos]);
    size = 1;
    if (b0 < 0x80) return b0;
    std::size_t n;
    char32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        cp = b0 & 0x07;
    } else {
        return static_cast<char32_t>(-1);
    }
    if (pos + n > s.size()) return static_cast<char32_t>(-1);
    for (std::size_t i = 1; i < n; ++i) {
        auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) return static_cast<char32_t>(-1);
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed too.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return static_cast<char32_t>(-1);
    size = n;
    return cp;
}

bool isWordBreak(char32_t cp) {
    switch (cp) {
        case ' ':
        case '\t':
        case '\n':
        case '\r':
        case '(':
        case '[':
        case '{':
        case '"':
        case '/':
        case '-':
        case 0xA0:
            return true;
        default:
            return false;
    }
}

template <typename Map>
void appendMapped(std::string_view s, std::string& out, Map map) {
    out.reserve(out.size() + s.size());
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t size;
        char32_t cp = decode(s, pos, size);
        if (cp == static_cast<char32_t>(-1) || cp < 0x80) {
            if (cp < 0x80) {
                out.push_back(static_cast<char>(map(cp, pos)));
            } else {
                out.push_back(s[pos]);
            }
        } else {
            appendUtf8(map(cp, pos), out);
        }
        pos += size;
    }
}

}  // namespace

bool asciiEqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

void asciiLowerInPlace(std::string& s) {
    for (char& c : s) c = asciiLower(c);
}

std::size_t utf8CharSize(std::string_view s, std::size_t pos) {
    std::size_t size;
    decode(s, pos, size);
    return size;
}

std::size_t utf8Length(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < s.size(); ++count) {
        auto b = static_cast<unsigned char>(s[pos]);
        pos += b < 0x80 ? 1 : utf8CharSize(s, pos);
    }
    return count;
}

std::size_t utf8Offset(std::string_view s, std::size_t chars) {
    std::size_t pos = 0;
    for (; chars > 0 && pos < s.size(); --chars) {
        auto b = static_cast<unsigned char>(s[pos]);
        pos += b < 0x80 ? 1 : utf8CharSize(s, pos);
    }
    return pos;
}

void appendUtf8(char32_t cp, std::string& out) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t toLower(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp < 0xC0) return cp;
    if (cp <= 0xDE) return cp == 0xD7 ? cp : cp + 32;
    if (cp == 0x130 || cp == 0x131) return cp;  // dotted and dotless i pair up only in Turkish
    if (cp >= 0x100 && cp <= 0x137) return cp | 1;
    if (cp >= 0x139 && cp <= 0x148) return (cp & 1) ? cp + 1 : cp;
    if (cp >= 0x14A && cp <= 0x177) return cp | 1;
    if (cp == 0x178) return 0xFF;
    if (cp >= 0x179 && cp <= 0x17E) return (cp & 1) ? cp + 1 : cp;
    if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 32;
    if (cp >= 0x400 && cp <= 0x40F) return cp + 80;
    if (cp >= 0x410 && cp <= 0x42F) return cp + 32;
    return cp;
}

char32_t toUpper(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 32;
    if (cp < 0xE0) return cp;
    if (cp <= 0xFE) return cp == 0xF7 ? cp : cp - 32;
    if (cp == 0xFF) return 0x178;
    if (cp == 0x130 || cp == 0x131) return cp;
    if (cp >= 0x100 && cp <= 0x137) return cp & ~char32_t(1);
    if (cp >= 0x139 && cp <= 0x148) return (cp & 1) ? cp : cp - 1;
    if (cp >= 0x14A && cp <= 0x177) return cp & ~char32_t(1);
    if (cp >= 0x179 && cp <= 0x17E) return (cp & 1) ? cp : cp - 1;
    if (cp == 0x3C2) return 0x3A3;
    if (cp >= 0x3B1 && cp <= 0x3C9) return cp - 32;
    if (cp >= 0x430 && cp <= 0x44F) return cp - 32;
    if (cp >= 0x450 && cp <= 0x45F) return cp - 80;
    return cp;
}

void appendUpper(std::string_view s, std::string& out) {
    appendMapped(s, out, [](char32_t cp, std::size_t) { return toUpper(cp); });
}

void appendLower(std::string_view s, std::string& out) {
    appendMapped(s, out, [](char32_t cp, std::size_t) { return toLower(cp); });
}

void appendCapitalized(std::string_view s, bool lowerRest, std::string& out) {
    bool wordStart = true;
    appendMapped(s, out, [&](char32_t cp, std::size_t) {
        char32_t mapped = wordStart ? toUpper(cp) : (lowerRest ? toLower(cp) : cp);
        wordStart = isWordBreak(cp);
        return mapped;
    });
}

}  // namespace titleformat
