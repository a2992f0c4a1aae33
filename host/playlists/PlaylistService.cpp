#include "PlaylistService.h"

#include "service_factory.h"
#include "service_factory_alias.h"

namespace {
service_factory_singleton_t<playlists::PlaylistManager> g_playlists;
service_factory_alias_t<playlist_manager> g_playlistsV1(g_playlists);
}  // namespace

namespace playlists {

PlaylistManager& hostPlaylistManager() { return g_playlists.get_static_instance(); }

}  // namespace playlists
