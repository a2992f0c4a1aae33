#pragma once

// What a compiled script reads while it runs: one track's fields, tags and
// technical info, plus whatever the caller knows about the moment (is it the
// playing track, where it sits in a list).
//
// Every call appends to `out` and returns true when the value exists and is
// not empty; on false `out` is left as it was. Names passed in are lower-case
// ASCII. Implementations must be safe to call from the formatting thread; a
// script calls nothing else and keeps no pointer past the call.

#include <cstddef>
#include <string>
#include <string_view>

#include "FieldId.h"

namespace titleformat {

class FieldSource {
public:
    virtual ~FieldSource() = default;

    // A built-in field, with its fallbacks and formatting applied.
    virtual bool field(FieldId id, std::string& out) const = 0;

    // The number of values of a tag (0 when absent).
    virtual std::size_t metaCount(std::string_view name) const = 0;
    // The index-th value of a tag, counted from 0.
    virtual bool meta(std::string_view name, std::size_t index, std::string& out) const = 0;

    // A technical-info entry ("codec", "bitrate", ...) by name.
    virtual bool info(std::string_view name, std::string& out) const { return false; }
};

}  // namespace titleformat
