#pragma once

// The fields only the playing track has, put ahead of its own fields when the
// player formats its title: %playback_time% (and _seconds),
// %playback_time_remaining% (and _seconds), %isplaying%, %ispaused%, and the
// decoded stream's %samplerate% and %channels%.
//
// The display level says how much may show: none hides the times, anything
// below all leaves the technical fields to the track's own info. A hidden
// field is still claimed, as absent, so that [...] sections drop it instead of
// the track showing "?".

#include "playback_control.h"
#include "titleformat.h"

#include <string>

namespace playback {

struct PlayingState {
    double position = 0;
    double length = 0;  // 0 or less: unknown
    bool paused = false;
    unsigned sampleRate = 0;  // 0 until the first block is decoded
    unsigned channels = 0;
};

class PlaybackTitleHook final : public titleformat_hook {
public:
    // `chained` is the caller's hook; it is asked first.
    PlaybackTitleHook(const PlayingState& state, playback_control::t_display_level level,
                      titleformat_hook* chained)
        : m_state(state), m_level(level), m_chained(chained) {}

    bool process_field(cvk::string_base& out, const char* name, size_t name_len, bool& found) override;

private:
    bool field(const std::string& name, std::string& text, bool& found) const;

    const PlayingState m_state;
    const playback_control::t_display_level m_level;
    titleformat_hook* const m_chained;
};

}  // namespace playback
