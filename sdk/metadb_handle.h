#pragma once

// The host's handle of one track: its location and what the host knows of it
// (tags, technical info, play statistics), read through title formatting.
//
// Threads: any. The handle is immutable in its location; the info behind it may
// change (tag edits, statistics) and the host guards it.
// Ownership: counted. While any reference lives the host keeps exactly one
// handle per location, so two handles of the same track are the same object and
// compare equal as pointers.
// Failure: nothing throws; unknown values read as the documented "unknown".

#include "cvk_string.h"
#include "service.h"

#include <cstdint>
#include <string>
#include <vector>

class titleformat_hook;
class titleformat_object;
class titleformat_text_filter;

using t_filesize = uint64_t;
inline constexpr t_filesize filesize_invalid = UINT64_MAX;

// A copied location; safe to keep after the handle is gone.
struct playable_location {
    std::string path;
    uint32_t subsong = 0;
};

class metadb_handle : public service_base {
    QVN_SERVICE_INTERFACE(metadb_handle, service_base,
                          {0x3811D223, 0x471B, 0x438E, {0x98, 0x52, 0x98, 0x09, 0xC6, 0xDE, 0x04, 0x83}});

    // "file://" + absolute path for local files; other schemes as the host names
    // them. Valid for the life of the handle.
    virtual const char* get_path() const = 0;
    // Index of the track inside a file holding several; 0 otherwise.
    virtual uint32_t get_subsong_index() const = 0;

    // Seconds; 0 or less when the length is not known (streams).
    virtual double get_length() const = 0;
    // Bytes; filesize_invalid when not known.
    virtual t_filesize get_filesize() const = 0;

    // Formats this track with `script`; `out` is replaced. `hook` supplies
    // fields before the track's own, `filter` rewrites field values; both may be
    // null. False (and `out` empty) only when `script` is null.
    virtual bool format_title(titleformat_hook* hook, cvk::string_base& out,
                              const service_ptr_t<titleformat_object>& script,
                              titleformat_text_filter* filter) const = 0;

    playable_location get_location() const { return {get_path(), get_subsong_index()}; }
};

using metadb_handle_ptr = service_ptr_t<metadb_handle>;
using metadb_handle_list = std::vector<service_ptr_t<metadb_handle>>;
