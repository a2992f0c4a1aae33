#pragma once

// The text work behind the language's path and string functions, kept apart
// from the evaluator so each rule can be read (and tested) on its own.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace titleformat {

// Paths use '/'. The extension is that of the last component, without the dot;
// a leading dot ("/x/.hidden") is no extension.
std::string_view extensionOf(std::string_view path);
// The last component without its extension.
std::string_view fileStemOf(std::string_view path);
// Name of the folder `level` steps up: 1 is the folder holding the file.
std::string_view directoryNameOf(std::string_view path, std::size_t level);
// The path of the folder holding the file ("/a/b/c.flac" → "/a/b").
std::string_view directoryPathOf(std::string_view path);
// The four-digit year a date begins with ("2004-05-01" → "2004"), else empty.
std::string_view yearOf(std::string_view date);

std::string_view trimSpaces(std::string_view s);

// "Final Fantasy VII (Original Soundtrack)" → "FFV(OS)": one letter per word,
// numbers kept whole, brackets kept.
void appendAbbreviation(std::string_view s, std::string& out);

// One left-to-right pass: at each position the first matching search text of
// `pairs` (search, replacement, search, replacement, ...) is replaced; replaced
// text is not searched again. Empty search texts never match. Stops once it has
// appended `limit` bytes.
void appendReplaced(std::string_view s, std::span<const std::string_view> pairs, std::size_t limit,
                    std::string& out);

// Cut at the first line break, with `indicator` appended when something was cut.
void appendFixedEol(std::string_view s, std::string_view indicator, std::string& out);

// Pads `s` with copies of `fill` to `width` characters, on the right (the text
// stays left) or on the left.
void appendPadded(std::string_view s, std::size_t width, std::string_view fill, bool padLeft,
                  std::string& out);

// 1-based character position of the first (or last) occurrence, 0 when absent.
std::size_t findCharPosition(std::string_view s, std::string_view needle, bool last);

}  // namespace titleformat
