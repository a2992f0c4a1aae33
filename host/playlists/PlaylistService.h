#pragma once

// The host's one playlist manager, offered to every module as
// playlist_manager_v2 and as playlist_manager. Its factories live in the same
// object file as this function, so a host that calls it (to open the file at
// start-up) links them in; a test that never does keeps its own managers.

#include "PlaylistManager.h"

namespace playlists {

PlaylistManager& hostPlaylistManager();

}  // namespace playlists
