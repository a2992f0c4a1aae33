#pragma once

// The host's transport behind playback_control: what plays, where, how loud,
// and the play_callback events that tell everyone.
//
// Events, in the order the callbacks see them:
//   start command       starting(command, paused) → [stop(2) when a track was
//                       playing] → new_track once the decoder opened
//   track ends          stop(2) → new_track of the next (Repeat (track): the
//                       same one); nothing to play next: stop(1)
//   while playing       time every whole second heard; seek(target); pause(state)
//   stop                stop(0) by the user, stop(1) at the end, stop(3) at shutdown
//   volume              volume_change(dB) whenever the reported volume changes
// A stop with reason 2 only follows a track that was announced with new_track.
// When a callback runs, the engine's state already is what the event says.
//
// A track that cannot be opened or decoded prints one console line and the
// next one plays; after as many failures in a row as the playlist has items,
// playback stops.
//
// Threads: main thread only. Decoding and output run on threads of their own
// (TrackSession); their news comes back through the Qt event loop.

#include "AudioDevice.h"
#include "playback_control.h"
#include "PlayedTracker.h"
#include "TrackSource.h"
#include "Volume.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

namespace playlists {
class PlaylistManager;
}

namespace playback {

class TrackSession;

class PlaybackEngine : public QObject {
    Q_OBJECT
public:
    using TrackPlayed = std::function<void(const service_ptr_t<metadb_handle>& track)>;

    explicit PlaybackEngine(QObject* parent = nullptr);
    ~PlaybackEngine() override;

    // The engine the playback services drive: the newest one alive, else one
    // made now as a child of the application.
    static PlaybackEngine& instance();
    // The same without making one: null when there is none.
    static PlaybackEngine* current();

    // --- Host side ---

    // Unset, the registered playlist manager is used once there is one.
    void setTrackSource(std::shared_ptr<TrackSource> source);
    // Takes tracks from `manager` and becomes its default action.
    void attachPlaylists(service_ptr_t<playlists::PlaylistManager> manager);
    // Unset: systemDeviceFactory().
    void setDeviceFactory(DeviceFactory devices);
    // Called once per playing of a track, when half of it or four minutes have
    // been heard: where the library counts plays.
    void setTrackPlayedHandler(TrackPlayed handler) { m_onPlayed = std::move(handler); }
    // The default action of a playlist item; false when there is no such item.
    bool playItem(size_t playlist, size_t item);
    // Stops with reason 3 and refuses to start again. Call before the
    // components' quit hooks, while their callbacks are still registered.
    void shutdown();

    // --- playback_control ---
    void start(playback_control::t_track_command command, bool paused);
    void stop();
    void pause(bool state);
    bool isPlaying() const { return m_playing != nullptr; }
    bool isPaused() const;
    service_ptr_t<metadb_handle> nowPlaying() const;
    double position() const;
    double length() const;
    bool canSeek() const;
    void seek(double seconds);
    void seekDelta(double delta);

    float volume() const { return m_volume.db(); }
    void setVolume(float db);
    void volumeUp();
    void volumeDown();
    void toggleMute();

    bool stopAfterCurrent() const { return m_stopAfterCurrent; }
    void setStopAfterCurrent(bool state) { m_stopAfterCurrent = state; }

    bool formatTitle(titleformat_hook* hook, cvk::string_base& out,
                     const service_ptr_t<titleformat_object>& script, titleformat_text_filter* filter,
                     playback_control::t_display_level level) const;

private:
    struct Playing;

    TrackSource* source();
    std::optional<PlayTarget> resolve(playback_control::t_track_command command);
    void begin(const PlayTarget& target, bool paused);
    void stopWith(playback_control::t_stop_reason reason);
    void advanceAfter(bool failed);

    void onOpened(uint64_t id);
    void onFailed(uint64_t id, const std::string& message);
    void onEnded(uint64_t id);
    void tick();

    void volumeChanged(float before);
    void loadVolume();
    void saveVolume();

    std::unique_ptr<Playing> m_playing;
    uint64_t m_nextId = 1;
    size_t m_failures = 0;
    bool m_stopAfterCurrent = false;
    bool m_shutDown = false;

    Volume m_volume;
    std::atomic<float> m_gain{1.0f};
    QTimer m_saveTimer;
    QTimer m_clock;

    DeviceFactory m_devices;
    std::shared_ptr<TrackSource> m_source;
    service_ptr_t<playlists::PlaylistManager> m_playlists;
    TrackPlayed m_onPlayed;
};

}  // namespace playback
