// playback_control as the components reach it: the engine, one call each.

#include "PlaybackEngine.h"

#include "service_factory.h"

namespace playback {

namespace {

class PlaybackControlService : public playback_control {
public:
    void start(t_track_command command, bool paused) override { engine().start(command, paused); }
    void stop() override { engine().stop(); }
    void pause(bool state) override { engine().pause(state); }
    bool is_playing() override { return engine().isPlaying(); }
    bool is_paused() override { return engine().isPaused(); }
    bool get_now_playing(service_ptr_t<metadb_handle>& out) override {
        out = engine().nowPlaying();
        return out.is_valid();
    }
    double playback_get_position() override { return engine().position(); }
    double playback_get_length() override { return engine().length(); }
    bool playback_can_seek() override { return engine().canSeek(); }
    void playback_seek(double seconds) override { engine().seek(seconds); }
    void playback_seek_delta(double delta) override { engine().seekDelta(delta); }
    float get_volume() override { return engine().volume(); }
    void set_volume(float db) override { engine().setVolume(db); }
    void volume_up() override { engine().volumeUp(); }
    void volume_down() override { engine().volumeDown(); }
    void volume_mute_toggle() override { engine().toggleMute(); }
    bool get_stop_after_current() override { return engine().stopAfterCurrent(); }
    void set_stop_after_current(bool state) override { engine().setStopAfterCurrent(state); }
    bool playback_format_title(titleformat_hook* hook, cvk::string_base& out,
                               const service_ptr_t<titleformat_object>& script,
                               titleformat_text_filter* filter, t_display_level level) override {
        return engine().formatTitle(hook, out, script, filter, level);
    }

private:
    static PlaybackEngine& engine() { return PlaybackEngine::instance(); }
};

service_factory_singleton_t<PlaybackControlService> g_playbackControlFactory;

}  // namespace

}  // namespace playback
