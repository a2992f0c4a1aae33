#pragma once

// The host's transport: what plays, where, how loud.
//
// Threads: main thread only.
// Ownership: the host's one instance; fetch with qvn::std_api_get.
// Failure: commands the host cannot carry out (next on an empty playlist, seek
// on a stream) do nothing; queries then report the unchanged state. Nothing
// throws.

#include "cvk_string.h"
#include "metadb_handle.h"
#include "service.h"
#include "titleformat.h"

class playback_control : public service_base {
    QVN_SERVICE_INTERFACE(playback_control, service_base,
                          {0xA5887CAB, 0x777F, 0x4AEF, {0xA2, 0xE6, 0x03, 0x22, 0x33, 0xFF, 0x31, 0x59}});

    enum t_track_command : int {
        track_command_default = 0,
        track_command_play = 1,
        track_command_next = 2,
        track_command_prev = 3,
        // The playlist's focused item.
        track_command_settrack = 4,
        track_command_rand = 5,
        // Where the last session stopped.
        track_command_resume = 6,
    };

    enum t_stop_reason : int {
        stop_reason_user = 0,
        stop_reason_eof = 1,
        // A stop that a new track follows at once: views should not clear.
        stop_reason_starting_another = 2,
        stop_reason_shutting_down = 3,
    };

    // How much of the playing track's changing info a title may show.
    enum t_display_level : int {
        display_level_none = 0,
        display_level_basic = 1,
        display_level_titles = 2,
        display_level_all = 3,
    };

    // Decibels; this and below is silence.
    static constexpr float volume_mute = -100.0f;

    virtual void start(t_track_command command = track_command_play, bool paused = false) = 0;
    virtual void stop() = 0;
    // Sets the pause state; never toggles. No effect while stopped.
    virtual void pause(bool state) = 0;

    virtual bool is_playing() = 0;
    // False while stopped.
    virtual bool is_paused() = 0;

    // False and `out` cleared when nothing plays.
    virtual bool get_now_playing(service_ptr_t<metadb_handle>& out) = 0;
    // Seconds into the playing track; 0 while stopped.
    virtual double playback_get_position() = 0;
    // Seconds of the playing track; 0 or less when unknown or stopped.
    virtual double playback_get_length() = 0;
    virtual bool playback_can_seek() = 0;
    // Clamped to [0, length]; ignored when the track cannot be seeked.
    virtual void playback_seek(double seconds) = 0;
    virtual void playback_seek_delta(double delta) = 0;

    // Decibels: 0 is full volume, volume_mute or below is silent. While muted
    // the answer is volume_mute.
    virtual float get_volume() = 0;
    // Clamped to [volume_mute, 0]; setting a volume ends a mute.
    virtual void set_volume(float db) = 0;
    virtual void volume_up() = 0;
    virtual void volume_down() = 0;
    // Mutes, or restores the volume from before the mute.
    virtual void volume_mute_toggle() = 0;

    virtual bool get_stop_after_current() = 0;
    virtual void set_stop_after_current(bool state) = 0;

    // Formats the playing track, with playback fields (%playback_time%, the
    // decoder's %codec%, %bitrate%, ...) up to `level`; `out` is replaced.
    // False and `out` empty when nothing plays or `script` is null.
    virtual bool playback_format_title(titleformat_hook* hook, cvk::string_base& out,
                                       const service_ptr_t<titleformat_object>& script,
                                       titleformat_text_filter* filter, t_display_level level) = 0;
};
