#include "TextFunctions.h"

#include "Utf8.h"

namespace titleformat {

namespace {

std::string_view lastComponent(std::string_view path) {
    auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view extensionOf(std::string_view path) {
    auto name = lastComponent(path);
    auto dot = name.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view() : name.substr(dot + 1);
}

std::string_view fileStemOf(std::string_view path) {
    auto name = lastComponent(path);
    auto dot = name.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string_view directoryNameOf(std::string_view path, std::size_t level) {
    for (std::size_t i = 0; i < level; ++i) {
        auto slash = path.find_last_of('/');
        if (slash == std::string_view::npos) return {};
        path = path.substr(0, slash);
    }
    return lastComponent(path);
}

std::string_view directoryPathOf(std::string_view path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string_view yearOf(std::string_view date) {
    date = trimSpaces(date);
    if (date.size() < 4) return {};
    for (std::size_t i = 0; i < 4; ++i) {
        if (!isDigit(date[i])) return {};
    }
    return date.substr(0, 4);
}

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

void appendAbbreviation(std::string_view s, std::string& out) {
    std::size_t pos = 0;
    while (pos < s.size()) {
        while (pos < s.size() && s[pos] == ' ') ++pos;
        std::size_t end = s.find(' ', pos);
        if (end == std::string_view::npos) end = s.size();
        std::string_view word = s.substr(pos, end - pos);
        pos = end;
        while (!word.empty() && (word.front() == '(' || word.front() == '[' || word.front() == '{')) {
            out.push_back(word.front());
            word.remove_prefix(1);
        }
        std::size_t closing = word.size();
        while (closing > 0 &&
               (word[closing - 1] == ')' || word[closing - 1] == ']' || word[closing - 1] == '}'))
            --closing;
        std::string_view core = word.substr(0, closing);
        if (!core.empty()) {
            if (isDigit(core.front())) {
                std::size_t digits = 0;
                while (digits < core.size() && isDigit(core[digits])) ++digits;
                out.append(core.substr(0, digits));
            } else {
                auto c = static_cast<unsigned char>(core.front());
                bool letter = c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                if (letter) out.append(core.substr(0, utf8CharSize(core, 0)));
            }
        }
        out.append(word.substr(closing));
    }
}

void appendReplaced(std::string_view s, std::span<const std::string_view> pairs, std::size_t limit,
                    std::string& out) {
    const std::size_t start = out.size();
    std::size_t pos = 0;
    while (pos < s.size() && out.size() - start < limit) {
        bool replaced = false;
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            std::string_view search = pairs[i];
            if (!search.empty() && s.substr(pos, search.size()) == search) {
                out.append(pairs[i + 1]);
                pos += search.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out.push_back(s[pos++]);
    }
}

void appendFixedEol(std::string_view s, std::string_view indicator, std::string& out) {
    auto eol = s.find_first_of("\r\n");
    if (eol == std::string_view::npos) {
        out.append(s);
    } else {
        out.append(s.substr(0, eol));
        out.append(indicator);
    }
}

void appendPadded(std::string_view s, std::size_t width, std::string_view fill, bool padLeft,
                  std::string& out) {
    std::size_t length = utf8Length(s);
    std::size_t missing = length < width ? width - length : 0;
    if (fill.empty()) fill = " ";
    fill = fill.substr(0, utf8CharSize(fill, 0));
    if (!padLeft) out.append(s);
    for (std::size_t i = 0; i < missing; ++i) out.append(fill);
    if (padLeft) out.append(s);
}

std::size_t findCharPosition(std::string_view s, std::string_view needle, bool last) {
    if (needle.empty()) return 0;
    auto at = last ? s.rfind(needle) : s.find(needle);
    if (at == std::string_view::npos) return 0;
    return utf8Length(s.substr(0, at)) + 1;
}

}  // namespace titleformat
