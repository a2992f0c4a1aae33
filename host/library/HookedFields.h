#pragma once

// Bridges between the SDK's title-formatting callbacks (titleformat_hook,
// titleformat_text_filter, cvk::string_base) and the host's engine
// (titleformat::FieldSource, std::string), without copying on the plain path.

#include "titleformat.h"

#include "FieldSource.h"

#include <string>

namespace library {

// A cvk::string_base that appends to the tail of a std::string it does not own:
// what the hook or filter writes lands straight in the engine's output.
class AppendTo final : public cvk::string_base {
public:
    explicit AppendTo(std::string& target) : m_s(target), m_base(target.size()) {}

    const char* get_ptr() const override { return m_s.c_str() + m_base; }
    size_t get_length() const override { return m_s.size() - m_base; }
    void add_string(const char* s, size_t len = npos) override;
    void truncate(size_t len) override {
        if (len < get_length()) m_s.resize(m_base + len);
    }

private:
    std::string& m_s;
    const size_t m_base;
};

// The fields a script reads: the hook's first, then the track's (`track` may be
// null: a script run on the hook alone); every value passes through `filter`
// when there is one.
class HookedFields final : public titleformat::FieldSource {
public:
    HookedFields(const titleformat::FieldSource* track, titleformat_hook* hook,
                 titleformat_text_filter* filter)
        : m_track(track), m_hook(hook), m_filter(filter) {}

    bool field(titleformat::FieldId id, std::string& out) const override;
    std::size_t metaCount(std::string_view name) const override;
    bool meta(std::string_view name, std::size_t index, std::string& out) const override;
    bool info(std::string_view name, std::string& out) const override;

private:
    enum class Hooked { Unknown, Absent, Present };
    // Appends the hook's value of `name` on Present; `out` is unchanged otherwise.
    Hooked fromHook(std::string_view name, std::string& out) const;
    // Runs `produce` into `out`, or through the filter when there is one.
    template <class Produce>
    bool filtered(std::string& out, Produce produce) const;

    const titleformat::FieldSource* m_track;
    titleformat_hook* m_hook;
    titleformat_text_filter* m_filter;
    mutable std::string m_scratch;  // a value on its way to the filter
    mutable std::string m_probe;    // a hook's answer asked for its presence only
};

// For scripts the host did not compile: a hook that answers with the caller's
// hook first, then with a track's fields by name.
class FieldsAsHook final : public titleformat_hook {
public:
    FieldsAsHook(const titleformat::FieldSource& track, titleformat_hook* first)
        : m_track(track), m_first(first) {}
    bool process_field(cvk::string_base& out, const char* name, size_t name_len, bool& found) override;

private:
    const titleformat::FieldSource& m_track;
    titleformat_hook* m_first;
    std::string m_scratch;
};

}  // namespace library
