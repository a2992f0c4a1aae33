#include "TextFormat.h"

#include <charconv>
#include <ctime>
#include <limits>

namespace titleformat {

int64_t toNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    uint64_t value = 0;
    constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(s[i] - '0');
        if (value > kLimit) {
            value = kLimit;
            break;
        }
    }
    return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

void appendInt(int64_t value, std::string& out) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

void appendZeroPadded(int64_t value, std::size_t width, std::string& out) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    std::string_view digits(buf, static_cast<std::size_t>(res.ptr - buf));
    if (value < 0) {
        out.push_back('-');
        digits.remove_prefix(1);
    }
    if (digits.size() < width) out.append(width - digits.size(), '0');
    out.append(digits);
}

void appendDuration(int64_t seconds, std::string& out) {
    if (seconds < 0) seconds = 0;
    int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0) {
        appendInt(h, out);
        out.push_back(':');
        appendZeroPadded(m, 2, out);
    } else {
        appendInt(m, out);
    }
    out.push_back(':');
    appendZeroPadded(s, 2, out);
}

void appendByteCount(uint64_t bytes, std::string& out) {
    if (bytes == 0) {
        out += "Zero KB";
        return;
    }
    if (bytes < 1000) {
        appendInt(static_cast<int64_t>(bytes), out);
        out += bytes == 1 ? " byte" : " bytes";
        return;
    }
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    static constexpr int kDecimals[] = {0, 1, 2, 2, 2, 2};
    // Integer arithmetic throughout: hundredths of the unit, rounded half up, so
    // 999,999 bytes rounds to "1 MB" instead of "1000 KB".
    std::size_t unit = 0;
    uint64_t divisor = 1000;
    for (;;) {
        int decimals = kDecimals[unit];
        uint64_t step = decimals == 0 ? 100 : decimals == 1 ? 10 : 1;  // hundredths per shown digit
        // Rounded value in hundredths: bytes * 100 / divisor, rounded to `step`.
        unsigned __int128 scaled = static_cast<unsigned __int128>(bytes) * 100;
        unsigned __int128 unitStep = static_cast<unsigned __int128>(divisor) * step;
        uint64_t hundredths = static_cast<uint64_t>((scaled + unitStep / 2) / unitStep) * step;
        if (hundredths >= 100000 && unit + 1 < std::size(kUnits)) {
            ++unit;
            divisor *= 1000;
            continue;
        }
        appendInt(static_cast<int64_t>(hundredths / 100), out);
        uint64_t fraction = hundredths % 100;
        if (fraction != 0) {
            out.push_back('.');
            out.push_back(static_cast<char>('0' + fraction / 10));
            if (fraction % 10 != 0) out.push_back(static_cast<char>('0' + fraction % 10));
        }
        out.push_back(' ');
        out += kUnits[unit];
        return;
    }
}

void appendTimestamp(int64_t unixSeconds, std::string& out) {
    std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return;
    appendZeroPadded(tm.tm_year + 1900, 4, out);
    out.push_back('-');
    appendZeroPadded(tm.tm_mon + 1, 2, out);
    out.push_back('-');
    appendZeroPadded(tm.tm_mday, 2, out);
    out.push_back(' ');
    appendZeroPadded(tm.tm_hour, 2, out);
    out.push_back(':');
    appendZeroPadded(tm.tm_min, 2, out);
    out.push_back(':');
    appendZeroPadded(tm.tm_sec, 2, out);
}

}  // namespace titleformat
