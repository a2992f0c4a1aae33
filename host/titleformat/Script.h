#pragma once

// A compiled title-formatting pattern.
//
// The language: %name% substitutes a field ("?" when the track lacks it);
// [...] is a section, dropped when it reads fields and none of them was
// present; '...' is literal text ('' alone is one quote); $name(arg,...) calls a
// function whose arguments are patterns in their turn.
//
// Compiling never fails: text that does not parse still gives a script that
// shows the pattern as far as it could be understood, with unclosed brackets,
// quotes and calls closed at the end and stray characters kept as text; `ok`
// and `error` say that it happened. Unknown functions and wrong argument counts
// are no syntax error; they show "[UNKNOWN FUNCTION]" and "[INVALID $NAME
// SYNTAX]" where they stand.
//
// Threads: a Script is immutable and cheap to copy (shared); any number of
// threads may format with it at once.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "FieldSource.h"

namespace titleformat {

struct Program;

struct SyntaxError {
    std::size_t offset = 0;  // byte offset in the pattern
    std::string message;
};

class Script {
public:
    // The empty pattern: formats to nothing.
    Script();

    static Script compile(std::string_view pattern, bool* ok = nullptr, SyntaxError* error = nullptr);

    // Replaces `out` with the result, reusing its storage.
    void format(const FieldSource& source, std::string& out) const;
    std::string format(const FieldSource& source) const;

    const std::string& pattern() const;

private:
    explicit Script(std::shared_ptr<const Program> program) : m_program(std::move(program)) {}
    std::shared_ptr<const Program> m_program;
};

}  // namespace titleformat
