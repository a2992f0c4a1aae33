// Plays count in the library's statistics. Part of the host executable only,
// so that the engine's tests run without the library's decoders.

#include "Metadb.h"
#include "PlaybackEngine.h"

namespace {

const bool g_installed = [] {
    playback::PlaybackEngine::setDefaultTrackPlayedHandler(
        [](const service_ptr_t<metadb_handle>& track) { library::Metadb::instance().trackPlayed(track); });
    return true;
}();

}  // namespace
