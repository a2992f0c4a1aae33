#include "HookedFields.h"

#include "FieldId.h"

#include <cstring>

namespace library {

void AppendTo::add_string(const char* s, size_t len) {
    if (!s) return;
    if (len == npos) {
        len = std::strlen(s);
    } else if (const void* nul = std::memchr(s, '\0', len)) {
        len = size_t(static_cast<const char*>(nul) - s);
    }
    m_s.append(s, len);
}

HookedFields::Hooked HookedFields::fromHook(std::string_view name, std::string& out) const {
    if (!m_hook) return Hooked::Unknown;
    const size_t mark = out.size();
    bool found = false;
    AppendTo sink(out);
    const bool known = m_hook->process_field(sink, name.data(), name.size(), found);
    // A known field without a value reads as missing, like a track's empty tag.
    if (known && found && out.size() > mark) return Hooked::Present;
    out.resize(mark);
    return known ? Hooked::Absent : Hooked::Unknown;
}

template <class Produce>
bool HookedFields::filtered(std::string& out, Produce produce) const {
    if (!m_filter) return produce(out);
    m_scratch.clear();
    if (!produce(m_scratch)) return false;
    const size_t mark = out.size();
    AppendTo sink(out);
    m_filter->write(sink, m_scratch.data(), m_scratch.size());
    return out.size() > mark;
}

bool HookedFields::field(titleformat::FieldId id, std::string& out) const {
    return filtered(out, [&](std::string& to) {
        switch (fromHook(titleformat::fieldName(id), to)) {
            case Hooked::Present:
                return true;
            case Hooked::Absent:
                return false;
            case Hooked::Unknown:
                break;
        }
        return m_track && m_track->field(id, to);
    });
}

std::size_t HookedFields::metaCount(std::string_view name) const {
    m_probe.clear();
    switch (fromHook(name, m_probe)) {
        case Hooked::Present:
            return 1;
        case Hooked::Absent:
            return 0;
        case Hooked::Unknown:
            break;
    }
    return m_track ? m_track->metaCount(name) : 0;
}

bool HookedFields::meta(std::string_view name, std::size_t index, std::string& out) const {
    return filtered(out, [&](std::string& to) {
        const size_t mark = to.size();
        switch (fromHook(name, to)) {
            case Hooked::Present:
                if (index == 0) return true;
                to.resize(mark);
                return false;
            case Hooked::Absent:
                return false;
            case Hooked::Unknown:
                break;
        }
        return m_track && m_track->meta(name, index, to);
    });
}

bool HookedFields::info(std::string_view name, std::string& out) const {
    return filtered(out, [&](std::string& to) { return m_track && m_track->info(name, to); });
}

bool FieldsAsHook::process_field(cvk::string_base& out, const char* name, size_t name_len, bool& found) {
    if (m_first && m_first->process_field(out, name, name_len, found)) return true;
    std::string lower(name, name_len);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    m_scratch.clear();
    if (const auto id = titleformat::fieldIdFromName(lower)) {
        found = m_track.field(*id, m_scratch);
    } else {
        found = false;
        const size_t count = m_track.metaCount(lower);
        for (size_t i = 0; i < count; ++i) {
            const size_t mark = m_scratch.size();
            if (found) m_scratch += ", ";
            if (m_track.meta(lower, i, m_scratch)) {
                found = true;
            } else {
                m_scratch.resize(mark);
            }
        }
    }
    if (found) out.add_string(m_scratch.data(), m_scratch.size());
    return true;
}

}  // namespace library
