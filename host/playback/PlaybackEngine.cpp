#include "PlaybackEngine.h"

#include "config_store.h"
#include "Console.h"
#include "MainQueue.h"
#include "PlaybackTitleHook.h"
#include "PlayCallbacks.h"
#include "PlaylistTrackSource.h"
#include "std_api.h"
#include "TrackSession.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace playback {

namespace {

using PC = playback_control;
using CB = play_callback;

// Settings keys of the playback engine.
constexpr const char* kVolumeKey = "playback.volume_mdb";  // thousandths of a decibel
constexpr const char* kMutedKey = "playback.muted";

// The clock is looked at this often; the time event still comes once a second.
constexpr int kTickMs = 50;
// Writes are durable (one synced transaction each): a slider drag waits for this quiet.
constexpr int kVolumeSaveDelayMs = 500;

PlaybackEngine* g_current = nullptr;

// Set from static initialisers of other files: constructed on first use.
std::string displayPath(const service_ptr_t<metadb_handle>& track) {
    std::string path = track ? track->get_path() : "";
    if (path.rfind("file://", 0) == 0) path.erase(0, 7);
    return path;
}

service_ptr_t<qvn::configStore> configStore() {
    service_ptr_t<qvn::configStore> store;
    if (!qvn::_standard_api_try_get_internal(store)) return {};
    return store;
}

}  // namespace

struct PlaybackEngine::Playing {
    PlayTarget target;
    uint64_t id = 0;
    bool announced = false;  // new_track was sent
    bool paused = false;
    double lastSecond = 0;
    PlayedTracker played;
    std::unique_ptr<TrackSession> session;
};

PlaybackEngine::PlaybackEngine(QObject* parent) : QObject(parent), m_devices(systemDeviceFactory()) {
    g_current = this;
    m_clock.setInterval(kTickMs);
    connect(&m_clock, &QTimer::timeout, this, &PlaybackEngine::tick);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kVolumeSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &PlaybackEngine::saveVolume);
    loadVolume();
    m_gain = m_volume.gain();
}

PlaybackEngine::~PlaybackEngine() {
    // No events from here: whoever listened may be gone already.
    m_playing.reset();
    if (m_saveTimer.isActive()) saveVolume();
    if (m_playlists) m_playlists->setPlayItem({});
    if (g_current == this) g_current = nullptr;
}

PlaybackEngine* PlaybackEngine::current() { return g_current; }

PlaybackEngine& PlaybackEngine::instance() {
    if (!g_current) new PlaybackEngine(QCoreApplication::instance());
    return *g_current;
}

// --- Host side ---

void PlaybackEngine::setTrackSource(std::shared_ptr<TrackSource> source) { m_source = std::move(source); }

void PlaybackEngine::attachPlaylists(service_ptr_t<playlists::PlaylistManager> manager) {
    if (m_playlists) m_playlists->setPlayItem({});
    m_playlists = manager;
    if (!manager) return;
    manager->setPlayItem([this](size_t playlist, size_t item) { return playItem(playlist, item); });
    m_source = std::make_shared<PlaylistTrackSource>(manager);
}

void PlaybackEngine::setDeviceFactory(DeviceFactory devices) {
    m_devices = devices ? std::move(devices) : systemDeviceFactory();
}

TrackSource* PlaybackEngine::source() {
    if (!m_source) {
        service_ptr_t<playlist_manager> registered;
        if (qvn::_standard_api_try_get_internal(registered))
            if (auto* manager = dynamic_cast<playlists::PlaylistManager*>(registered.get_ptr()))
                attachPlaylists(manager);
    }
    return m_source.get();
}

bool PlaybackEngine::playItem(size_t playlist, size_t item) {
    if (m_shutDown || !source()) return false;
    const auto target = m_source->at(playlist, item);
    if (!target) return false;
    m_failures = 0;
    PlayCallbacks::global().deliver(CB::flag_on_playback_starting, [](play_callback& cb) {
        cb.on_playback_starting(PC::track_command_settrack, false);
    });
    begin(*target, false);
    return true;
}

void PlaybackEngine::shutdown() {
    stopWith(PC::stop_reason_shutting_down);
    m_shutDown = true;
    if (m_saveTimer.isActive()) {
        m_saveTimer.stop();
        saveVolume();
    }
}

// --- Starting and stopping ---

std::optional<PlayTarget> PlaybackEngine::resolve(PC::t_track_command command) {
    TrackSource* src = source();
    if (!src) return std::nullopt;
    switch (command) {
        case PC::track_command_next:
            return src->next(true);
        case PC::track_command_prev:
            return src->previous();
        case PC::track_command_rand:
            return src->random();
        case PC::track_command_settrack:
            return src->focused(false);
        case PC::track_command_default:
        case PC::track_command_play:
        case PC::track_command_resume:
            break;
    }
    // Play: what the user queued comes first, then what they point at.
    if (src->queueCount() > 0) return src->next(true);
    return src->focused(true);
}

void PlaybackEngine::start(PC::t_track_command command, bool paused) {
    if (m_shutDown) return;
    const bool plainPlay = command == PC::track_command_play || command == PC::track_command_default ||
                           command == PC::track_command_resume;
    if (plainPlay && m_playing && m_playing->paused && !paused) {
        pause(false);
        return;
    }
    const auto target = resolve(command);
    if (!target) return;
    m_failures = 0;
    PlayCallbacks::global().deliver(CB::flag_on_playback_starting,
                                    [&](play_callback& cb) { cb.on_playback_starting(command, paused); });
    begin(*target, paused);
}

void PlaybackEngine::begin(const PlayTarget& target, bool paused) {
    // The old session goes first, so that two never share the device.
    bool wasAnnounced = false;
    if (m_playing) {
        wasAnnounced = m_playing->announced;
        m_playing.reset();
    }

    auto playing = std::make_unique<Playing>();
    playing->target = target;
    playing->id = m_nextId++;
    playing->paused = paused;
    playing->played = PlayedTracker(target.track->get_length());
    const uint64_t id = playing->id;

    TrackSession::Events events;
    events.opened = [this, id](bool) { platform::async(this, [this, id] { onOpened(id); }); };
    events.failed = [this, id](const std::string& message) {
        platform::async(this, [this, id, message] { onFailed(id, message); });
    };
    events.ended = [this, id] { platform::async(this, [this, id] { onEnded(id); }); };
    playing->session =
        std::make_unique<TrackSession>(target.track, paused, m_devices, m_gain, std::move(events));
    m_playing = std::move(playing);
    if (m_source) m_source->setPlaying(target);
    m_clock.start();

    if (wasAnnounced)
        PlayCallbacks::global().deliver(CB::flag_on_playback_stop, [](play_callback& cb) {
            cb.on_playback_stop(PC::stop_reason_starting_another);
        });
}

void PlaybackEngine::stop() { stopWith(PC::stop_reason_user); }

void PlaybackEngine::stopWith(PC::t_stop_reason reason) {
    if (!m_playing) return;
    m_playing.reset();
    m_clock.stop();
    if (m_source) m_source->clearPlaying();
    PlayCallbacks::global().deliver(CB::flag_on_playback_stop,
                                    [reason](play_callback& cb) { cb.on_playback_stop(reason); });
}

void PlaybackEngine::advanceAfter(bool failed) {
    if (!failed && m_stopAfterCurrent) {
        m_stopAfterCurrent = false;
        return stopWith(PC::stop_reason_eof);
    }
    TrackSource* src = source();
    // After a failure the user's next, not the order's: Repeat (track) would
    // retry the same broken file forever.
    const auto next = src ? src->next(failed) : std::nullopt;
    if (!next) return stopWith(PC::stop_reason_eof);
    begin(*next, false);
}

// --- News from the decoding thread ---

void PlaybackEngine::onOpened(uint64_t id) {
    if (!m_playing || m_playing->id != id) return;
    m_playing->announced = true;
    const auto track = m_playing->target.track;
    PlayCallbacks::global().deliver(CB::flag_on_playback_new_track,
                                    [&track](play_callback& cb) { cb.on_playback_new_track(track); });
}

void PlaybackEngine::onFailed(uint64_t id, const std::string& message) {
    if (!m_playing || m_playing->id != id) return;
    const PlayTarget failed = m_playing->target;
    const std::string path = displayPath(failed.track);
    std::string reason = message;
    // The host's decoders end their messages with the file: say it once.
    const std::string tail = ": " + path;
    if (reason.size() > tail.size() && reason.ends_with(tail)) reason.resize(reason.size() - tail.size());
    Console::global().print("Playback: cannot play " + path + ": " + reason);

    // Failing through every item once (and what is queued) is enough: a
    // playlist of missing files must not spin forever.
    TrackSource* src = source();
    const size_t limit = src ? std::max<size_t>(1, src->itemCount(failed.playlist)) + src->queueCount() : 1;
    if (++m_failures >= limit) {
        Console::global().print("Playback: stopped after " + std::to_string(m_failures) +
                                (m_failures == 1 ? " track" : " tracks") +
                                " in a row that could not be played");
        m_failures = 0;
        return stopWith(PC::stop_reason_eof);
    }
    advanceAfter(true);
}

void PlaybackEngine::onEnded(uint64_t id) {
    if (!m_playing || m_playing->id != id) return;
    tick();  // the last stretch counts for the statistics
    if (!m_playing || m_playing->id != id) return;
    m_failures = 0;
    advanceAfter(false);
}

void PlaybackEngine::tick() {
    if (!m_playing || !m_playing->announced || m_playing->paused) return;
    Playing& p = *m_playing;
    const double now = p.session->position();
    if (p.played.update(now) && m_onPlayed) {
        const auto track = p.target.track;
        m_onPlayed(track);
        if (!m_playing || m_playing.get() != &p) return;
    }
    const double second = std::floor(now);
    if (second > p.lastSecond) {
        p.lastSecond = second;
        PlayCallbacks::global().deliver(CB::flag_on_playback_time,
                                        [second](play_callback& cb) { cb.on_playback_time(second); });
    }
}

// --- Pause, seek and state ---

void PlaybackEngine::pause(bool state) {
    if (!m_playing || m_playing->paused == state) return;
    m_playing->paused = state;
    m_playing->session->setPaused(state);
    PlayCallbacks::global().deliver(CB::flag_on_playback_pause,
                                    [state](play_callback& cb) { cb.on_playback_pause(state); });
}

bool PlaybackEngine::isPaused() const { return m_playing && m_playing->paused; }

service_ptr_t<metadb_handle> PlaybackEngine::nowPlaying() const {
    return m_playing ? m_playing->target.track : service_ptr_t<metadb_handle>();
}

double PlaybackEngine::position() const {
    return m_playing ? std::max(0.0, m_playing->session->position()) : 0.0;
}

double PlaybackEngine::length() const { return m_playing ? m_playing->target.track->get_length() : 0.0; }

bool PlaybackEngine::canSeek() const {
    return m_playing && m_playing->announced && m_playing->session->canSeek();
}

void PlaybackEngine::seek(double seconds) {
    if (!canSeek() || std::isnan(seconds)) return;
    const double len = length();
    seconds = std::max(0.0, seconds);
    if (len > 0) seconds = std::min(seconds, len);
    Playing& p = *m_playing;
    p.session->seek(seconds);
    p.played.jumped(seconds);
    p.lastSecond = std::floor(seconds);
    PlayCallbacks::global().deliver(CB::flag_on_playback_seek,
                                    [seconds](play_callback& cb) { cb.on_playback_seek(seconds); });
}

void PlaybackEngine::seekDelta(double delta) {
    if (m_playing) seek(position() + delta);
}

bool PlaybackEngine::formatTitle(titleformat_hook* hook, cvk::string_base& out,
                                 const service_ptr_t<titleformat_object>& script,
                                 titleformat_text_filter* filter, PC::t_display_level level) const {
    out.reset();
    if (!m_playing || !script) return false;
    const AudioFormat format = m_playing->session->format();
    const PlayingState state{position(), length(), m_playing->paused, format.rate, format.channels};
    PlaybackTitleHook playbackFields(state, level, hook);
    return m_playing->target.track->format_title(&playbackFields, out, script, filter);
}

// --- Volume ---

void PlaybackEngine::setVolume(float db) {
    const float before = m_volume.db();
    m_volume.set(db);
    volumeChanged(before);
}

void PlaybackEngine::volumeUp() {
    const float before = m_volume.db();
    m_volume.up();
    volumeChanged(before);
}

void PlaybackEngine::volumeDown() {
    const float before = m_volume.db();
    m_volume.down();
    volumeChanged(before);
}

void PlaybackEngine::toggleMute() {
    const float before = m_volume.db();
    m_volume.toggleMute();
    volumeChanged(before);
}

void PlaybackEngine::volumeChanged(float before) {
    m_gain = m_volume.gain();
    m_saveTimer.start();
    const float now = m_volume.db();
    if (now == before) return;
    PlayCallbacks::global().deliver(CB::flag_on_volume_change,
                                    [now](play_callback& cb) { cb.on_volume_change(now); });
}

void PlaybackEngine::loadVolume() {
    const auto store = configStore();
    if (!store) return;
    const int64_t mdb = store->getConfigInt(kVolumeKey, 0);
    const bool muted = store->getConfigInt(kMutedKey, 0) != 0;
    m_volume.restore(float(double(mdb) / 1000.0), muted);
}

void PlaybackEngine::saveVolume() {
    const auto store = configStore();
    if (!store) return;
    store->setConfigInt(kVolumeKey, std::llround(double(m_volume.level()) * 1000.0));
    store->setConfigInt(kMutedKey, m_volume.muted() ? 1 : 0);
}

}  // namespace playback
