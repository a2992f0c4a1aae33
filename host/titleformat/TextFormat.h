#pragma once

// Number, time and size texts shared by the fields and the functions.

#include <cstdint>
#include <string>
#include <string_view>

namespace titleformat {

// Reads a leading integer the way the language's arithmetic does: optional
// spaces, an optional sign, then digits up to the first non-digit. "12abc" is
// 12, "abc" is 0; values beyond 64 bits saturate.
int64_t toNumber(std::string_view s);

void appendInt(int64_t value, std::string& out);
// `value` with at least `width` digits, zeros in front (after any sign).
void appendZeroPadded(int64_t value, std::size_t width, std::string& out);

// "m:ss" below an hour, "h:mm:ss" from an hour on.
void appendDuration(int64_t seconds, std::string& out);

// Decimal units in the style of the macOS file byte count: "1 byte", "999 bytes",
// "1 KB", "4.2 MB", "8 MB", "1.23 GB"; 0 is "Zero KB". KB have no decimals, MB
// one, GB and above two, trailing zeros dropped.
void appendByteCount(uint64_t bytes, std::string& out);

// "YYYY-MM-DD hh:mm:ss" in local time.
void appendTimestamp(int64_t unixSeconds, std::string& out);

}  // namespace titleformat
