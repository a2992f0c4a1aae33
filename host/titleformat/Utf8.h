#pragma once

// The little UTF-8 the language needs: counting and cutting by characters, and
// case mapping for Latin, Greek and Cyrillic letters. Malformed bytes count as
// one character each and pass through untouched, so no input is ever lost.

#include <cstddef>
#include <string>
#include <string_view>

namespace titleformat {

bool asciiEqualsIgnoreCase(std::string_view a, std::string_view b);
void asciiLowerInPlace(std::string& s);

// Bytes taken by the character starting at `pos` (1 for a malformed byte).
std::size_t utf8CharSize(std::string_view s, std::size_t pos);
std::size_t utf8Length(std::string_view s);
// Byte offset of the `chars`-th character, or s.size() when there are fewer.
std::size_t utf8Offset(std::string_view s, std::size_t chars);

void appendUtf8(char32_t cp, std::string& out);

char32_t toUpper(char32_t cp);
char32_t toLower(char32_t cp);

void appendUpper(std::string_view s, std::string& out);
void appendLower(std::string_view s, std::string& out);
// Each word starts upper-case; `lowerRest` lower-cases the rest of the word.
void appendCapitalized(std::string_view s, bool lowerRest, std::string& out);

}  // namespace titleformat
