#pragma once

// Playback events, delivered to the callbacks registered for them.
//
// Threads: registration and every event on the main thread.
// Ownership: a callback belongs to whoever registered it; the manager keeps a
// plain pointer until unregister, which must come before the callback dies and
// before its component is unloaded.
// Failure: none; registering twice replaces the flags.

#include "metadb_handle.h"
#include "playback_control.h"
#include "service.h"
#include "std_api.h"

#include <cstdint>

class play_callback {
public:
    // Event mask bits, one per event below.
    enum : uint32_t {
        flag_on_playback_starting = 1u << 0,
        flag_on_playback_new_track = 1u << 1,
        flag_on_playback_stop = 1u << 2,
        flag_on_playback_seek = 1u << 3,
        flag_on_playback_pause = 1u << 4,
        flag_on_playback_edited = 1u << 5,
        flag_on_playback_dynamic_info = 1u << 6,
        flag_on_playback_dynamic_info_track = 1u << 7,
        flag_on_playback_time = 1u << 8,
        flag_on_volume_change = 1u << 9,

        flag_on_playback_all = (1u << 9) - 1,
        flag_all = 0xFFFFFFFFu,
    };

    virtual void on_playback_starting(playback_control::t_track_command command, bool paused) = 0;
    virtual void on_playback_new_track(service_ptr_t<metadb_handle> track) = 0;
    virtual void on_playback_stop(playback_control::t_stop_reason reason) = 0;
    virtual void on_playback_seek(double seconds) = 0;
    virtual void on_playback_pause(bool state) = 0;
    // The playing track's tags changed.
    virtual void on_playback_edited(service_ptr_t<metadb_handle> track) = 0;
    // Stream info changed (bitrate, stream title); read it through
    // playback_format_title.
    virtual void on_playback_dynamic_info(service_ptr_t<metadb_handle> track) = 0;
    // The stream moved on to another logical track.
    virtual void on_playback_dynamic_info_track(service_ptr_t<metadb_handle> track) = 0;
    // Once a second while playing.
    virtual void on_playback_time(double seconds) = 0;
    virtual void on_volume_change(float db) = 0;

protected:
    ~play_callback() = default;
};

class play_callback_manager : public service_base {
    QVN_SERVICE_INTERFACE(play_callback_manager, service_base,
                          {0xD605AF20, 0x41C3, 0x4628, {0xB9, 0xD4, 0x51, 0x19, 0x85, 0xE8, 0x6E, 0xE9}});

    virtual void register_callback(play_callback* callback, uint32_t flags) = 0;
    // May be called from inside an event: the callback then receives nothing
    // more, not even the rest of the current event's delivery.
    virtual void unregister_callback(play_callback* callback) = 0;
};

// Registers itself for `flags` on construction and unregisters on destruction.
// Override only the events asked for. Construct and destroy on the main thread.
class play_callback_impl_base : public play_callback {
public:
    explicit play_callback_impl_base(uint32_t flags = flag_all) { set_play_callback_flags(flags); }
    virtual ~play_callback_impl_base() { set_play_callback_flags(0); }
    play_callback_impl_base(const play_callback_impl_base&) = delete;
    play_callback_impl_base& operator=(const play_callback_impl_base&) = delete;

    // 0 unregisters.
    void set_play_callback_flags(uint32_t flags) {
        if (flags == m_flags) return;
        auto api = qvn::std_api_get<play_callback_manager>();
        if (flags == 0)
            api->unregister_callback(this);
        else
            api->register_callback(this, flags);
        m_flags = flags;
    }
    uint32_t get_play_callback_flags() const { return m_flags; }

    void on_playback_starting(playback_control::t_track_command, bool) override {}
    void on_playback_new_track(service_ptr_t<metadb_handle>) override {}
    void on_playback_stop(playback_control::t_stop_reason) override {}
    void on_playback_seek(double) override {}
    void on_playback_pause(bool) override {}
    void on_playback_edited(service_ptr_t<metadb_handle>) override {}
    void on_playback_dynamic_info(service_ptr_t<metadb_handle>) override {}
    void on_playback_dynamic_info_track(service_ptr_t<metadb_handle>) override {}
    void on_playback_time(double) override {}
    void on_volume_change(float) override {}

private:
    uint32_t m_flags = 0;
};
