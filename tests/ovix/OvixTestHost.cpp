#include "OvixTestHost.h"

#include "TestApplication.h"
#include "TitleformatService.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <thread>

void FakePlayback::start(t_track_command command, bool) {
    commands.push_back(int(command));
    paused = false;
}

void FakePlayback::stop() {
    ++stops;
    stopWith(stop_reason_user);
}

void FakePlayback::pause(bool state) {
    if (playing.is_valid()) paused = state;
}

bool FakePlayback::get_now_playing(service_ptr_t<metadb_handle>& out) {
    out = playing;
    return playing.is_valid();
}

void FakePlayback::set_volume(float db) {
    volume = std::clamp(db, volume_mute, 0.0f);
    muted = false;
}

bool FakePlayback::playback_format_title(titleformat_hook* hook, cvk::string_base& out,
                                         const service_ptr_t<titleformat_object>& script,
                                         titleformat_text_filter* filter, t_display_level) {
    out.reset();
    if (!playing.is_valid() || !script) return false;
    return playing->format_title(hook, out, script, filter);
}

void FakePlayback::play(service_ptr_t<metadb_handle> track) {
    playing = track;
    paused = false;
    position = 0;
    const auto listeners = events->callbacks;
    for (const auto& [cb, flags] : listeners)
        if (flags & play_callback::flag_on_playback_new_track) cb->on_playback_new_track(track);
}

void FakePlayback::stopWith(t_stop_reason reason) {
    playing.release();
    paused = false;
    position = 0;
    const auto listeners = events->callbacks;
    for (const auto& [cb, flags] : listeners)
        if (flags & play_callback::flag_on_playback_stop) cb->on_playback_stop(reason);
}

namespace {

class FakeExtractor : public album_art_extractor_instance_v2 {
public:
    FakeExtractor(FakeAlbumArt& art, std::string location) : _art(art), _location(std::move(location)) {}

    service_ptr_t<album_art_data> query(const GUID& what, abort_callback& abort) override {
        ++_art.queries;
        struct Done {
            FakeAlbumArt& art;
            ~Done() { ++art.finished; }
        } done{_art};
        // Slow reads still notice a raised flag soon, as the host's do.
        for (int waited = 0; waited < _art.delayMs; waited += 5) {
            abort.check();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        abort.check();
        const QByteArray bytes = _art.bytesFor(_location);
        if (what != album_art_ids::cover_front || bytes.isEmpty()) throw exception_album_art_not_found();
        return album_art_data::make(bytes.constData(), size_t(bytes.size()));
    }

private:
    FakeAlbumArt& _art;
    const std::string _location;
};

}  // namespace

service_ptr_t<album_art_extractor_instance_v2> FakeAlbumArt::open(const metadb_handle_list& items,
                                                                  const std::vector<GUID>&,
                                                                  abort_callback& abort) {
    abort.check();
    return service_new<FakeExtractor>(*this, items.empty() ? std::string() : items[0]->get_path());
}

void FakeAlbumArt::set(const std::string& location, QByteArray bytes) {
    std::lock_guard lock(_mutex);
    _covers[location] = std::move(bytes);
}

QByteArray FakeAlbumArt::bytesFor(const std::string& location) {
    std::lock_guard lock(_mutex);
    auto it = _covers.find(location);
    return it == _covers.end() ? QByteArray() : it->second;
}

OvixTestHost::OvixTestHost() {
    testApplication();
    FakeHost& h = bound.host;
    h.add(playlist_manager::class_guid, playlists);
    h.add(playlist_manager_v2::class_guid, playlists);
    h.add(titleformat_compiler::class_guid, service_new<library::TitleformatCompiler>());
    h.add(playback_control::class_guid, playback);
    h.add(play_callback_manager::class_guid, playback->events);
    h.add(album_art_manager_v2::class_guid, art);
    h.add(playlist_incoming_item_filter_v2::class_guid, incoming);
    h.add(mainmenu_manager::class_guid, menu);
    playlists->setPlayItem([this](size_t playlist, size_t item) {
        played.emplace_back(playlist, item);
        return true;
    });
}

size_t OvixTestHost::addPlaylist(const char* name, const metadb_handle_list& tracks) {
    const size_t p = playlists->create_playlist(name, SIZE_MAX, SIZE_MAX);
    playlists->playlist_add_items(p, tracks, bit_array_false());
    playlists->set_active_playlist(p);
    return p;
}

void OvixTestHost::playItem(size_t playlist, size_t item) {
    playlists->setPlayingLocation(playlist, item);
    playback->play(playlists->playlist_get_item_handle(playlist, item));
}

std::vector<size_t> OvixTestHost::selection(size_t playlist) {
    const bit_array_bittable mask = playlists->playlist_get_selection_mask(playlist);
    std::vector<size_t> out;
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask.get(i)) out.push_back(i);
    return out;
}

service_ptr_t<MemoryTrack> albumTrack(const std::string& album, const std::string& title, double length,
                                      const std::string& artist) {
    return memoryTrack(album + "/" + title + ".flac",
                       {{"artist", artist}, {"album artist", artist}, {"album", album}, {"title", title}},
                       length, 20'000'000);
}

bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void spinFor(std::chrono::milliseconds duration) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < duration.count()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
