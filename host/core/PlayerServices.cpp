#include "PlayerServices.h"

#include "Console.h"
#include "Metadb.h"
#include "PlaybackEngine.h"
#include "PlaylistService.h"
#include "TrackServices.h"
#include "std_api.h"
#include "titleformat.h"

#include <QTimer>

namespace PlayerServices {

void open(const std::filesystem::path& profileDir, Console& console) {
    library::startTrackServices(profileDir);
    auto& playlists = playlists::hostPlaylistManager();
    playlists.setFlushScheduler([] {
        QTimer::singleShot(0, [] { playlists::hostPlaylistManager().flush(); });
    });
    playlists.open(
        profileDir / "playlists.sqlite",
        [](const playable_location& location) { return library::Metadb::instance().handleFor(location); },
        [&console](const std::string& line) { console.print(line); });
    // Albums by their tags; folders keep the manager's own key (the directory).
    playlists.setGroupKey([](const service_ptr_t<metadb_handle>& track, playlists::Grouping grouping) {
        if (grouping == playlists::Grouping::Folder) return playlists::folderKey(track);
        static const auto album =
            qvn::std_api_get<titleformat_compiler>()->compile_safe("%album artist%|%album%|%discnumber%");
        cvk::stringLite key;
        track->format_title(nullptr, key, album, nullptr);
        return key.str();
    });
    library::Metadb::instance().setModifiedObserver(
        [](const metadb_handle_list& tracks) { playlists::hostPlaylistManager().notifyTracksModified(tracks); });
    auto& engine = playback::PlaybackEngine::instance();
    engine.attachPlaylists(&playlists);
    engine.setTrackPlayedHandler([](const metadb_handle_ptr& track) { library::Metadb::instance().trackPlayed(track); });
}

void stopPlayback() {
    if (auto* engine = playback::PlaybackEngine::current()) engine->shutdown();
}

void beforeUnload() {
    playlists::hostPlaylistManager().releaseLocks();
    library::stopTrackServices();
}

void close() {
    playlists::hostPlaylistManager().close();
}

}  // namespace PlayerServices
