#include "PlaybackTitleHook.h"

#include "TextFormat.h"

#include <algorithm>
#include <cmath>

namespace playback {

namespace {

std::string lowerAscii(const char* s, size_t len) {
    std::string out(s, len);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

}  // namespace

bool PlaybackTitleHook::process_field(cvk::string_base& out, const char* name, size_t name_len, bool& found) {
    if (m_chained && m_chained->process_field(out, name, name_len, found)) return true;
    if (!name) return false;
    if (name_len == SIZE_MAX) name_len = std::char_traits<char>::length(name);
    std::string text;
    found = false;
    if (!field(lowerAscii(name, name_len), text, found)) return false;
    if (found) out.add_string(text.c_str(), text.size());
    return true;
}

bool PlaybackTitleHook::field(const std::string& name, std::string& text, bool& found) const {
    const bool timesShown = m_level >= playback_control::display_level_basic;
    // Whole seconds elapsed; the remaining time is what makes them up to the
    // length as the track's %length% shows it (rounded).
    const auto elapsed = static_cast<int64_t>(std::max(0.0, m_state.position));
    const auto shownLength = static_cast<int64_t>(std::llround(std::max(0.0, m_state.length)));
    const auto remaining = std::max<int64_t>(0, shownLength - elapsed);

    if (name == "playback_time" || name == "playback_time_seconds") {
        if (!timesShown) return true;
        name == "playback_time" ? titleformat::appendDuration(elapsed, text)
                                : titleformat::appendInt(elapsed, text);
        found = true;
        return true;
    }
    if (name == "playback_time_remaining" || name == "playback_time_remaining_seconds") {
        if (!timesShown || !(m_state.length > 0)) return true;
        name == "playback_time_remaining" ? titleformat::appendDuration(remaining, text)
                                          : titleformat::appendInt(remaining, text);
        found = true;
        return true;
    }
    if (name == "isplaying") {
        text = "1";
        found = true;
        return true;
    }
    if (name == "ispaused") {
        if (m_state.paused) {
            text = "1";
            found = true;
        }
        return true;
    }
    if (m_level < playback_control::display_level_all) return false;
    if (name == "samplerate" && m_state.sampleRate > 0) {
        titleformat::appendInt(m_state.sampleRate, text);
        found = true;
        return true;
    }
    if (name == "channels" && m_state.channels > 0) {
        if (m_state.channels == 1)
            text = "mono";
        else if (m_state.channels == 2)
            text = "stereo";
        else
            text = std::to_string(m_state.channels) + " channels";
        found = true;
        return true;
    }
    return false;
}

}  // namespace playback
