#pragma once

// Title formatting: patterns such as "[%artist% - ]%title%" compiled once by the
// host and run per track, or for the playing track (playback_control).
//
// Threads: any. A compiled script is immutable and may be shared across threads.
// Ownership: scripts are counted; hooks and filters belong to the caller and are
// used during the call only.
// Failure: compile refuses a malformed pattern by returning false;
// compile_safe never fails. Running a script never throws.

#include "cvk_string.h"
#include "fatal.h"
#include "metadb_handle.h"
#include "service.h"

// Supplies fields ahead of the track's own (field names compare ASCII
// case-insensitively).
class titleformat_hook {
public:
    // True when the hook knows `name`: its text is appended to `out` and
    // `found` tells whether the field has a value (for the [...] sections).
    virtual bool process_field(cvk::string_base& out, const char* name, size_t name_len, bool& found) = 0;

protected:
    ~titleformat_hook() = default;
};

// Rewrites each field value on its way into the result.
class titleformat_text_filter {
public:
    // Appends the rewritten form of `data` to `out`.
    virtual void write(cvk::string_base& out, const char* data, size_t len) = 0;

protected:
    ~titleformat_text_filter() = default;
};

class titleformat_object : public service_base {
    QVN_SERVICE_INTERFACE(titleformat_object, service_base,
                          {0xE27EE1DC, 0xC8F2, 0x44FB, {0x8E, 0x27, 0xEE, 0xBC, 0x84, 0x6B, 0x4C, 0x91}});

    // Formats with fields from `source` alone (null: literals and functions
    // only); `out` is replaced. Track handles and the playback control run
    // scripts through this with a source of their own.
    virtual void run(titleformat_hook* source, cvk::string_base& out, titleformat_text_filter* filter) = 0;

    // The usual use: this script over one track, no hook, no filter.
    bool run_simple(const service_ptr_t<metadb_handle>& track, cvk::string_base& out) {
        out.reset();
        if (!track) return false;
        return track->format_title(nullptr, out, service_ptr_t<titleformat_object>(this), nullptr);
    }
};

class titleformat_compiler : public service_base {
    QVN_SERVICE_INTERFACE(titleformat_compiler, service_base,
                          {0x0BC7F56F, 0x60D3, 0x499D, {0x92, 0xF6, 0xD4, 0xC3, 0x37, 0xD7, 0xEC, 0xA3}});

    // False for a malformed pattern; `out` is then left untouched.
    virtual bool compile(service_ptr_t<titleformat_object>& out, const char* pattern) = 0;

    // Always yields a usable script: a malformed pattern formats as a short
    // marker text, so the user sees that the pattern needs fixing.
    void compile_safe(service_ptr_t<titleformat_object>& out, const char* pattern) {
        if (pattern && compile(out, pattern)) return;
        if (!compile(out, kInvalidPatternText))
            qvn::crashWithMessage("titleformat_compiler: fallback refused");
    }
    service_ptr_t<titleformat_object> compile_safe(const char* pattern) {
        service_ptr_t<titleformat_object> out;
        compile_safe(out, pattern);
        return out;
    }

    // Plain letters only: valid in any pattern language version.
    static constexpr const char* kInvalidPatternText = "INVALID PATTERN";
};
