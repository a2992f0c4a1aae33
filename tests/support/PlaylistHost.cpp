#include "PlaylistHost.h"

#include "MainQueue.h"

void FakeIncoming::process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags,
                                           const char*, const char*, QWidget*,
                                           service_ptr_t<process_locations_notify> notify) {
    requests.push_back({locations, op_flags, notify});
    if (!resolve) return;
    metadb_handle_list tracks;
    for (const std::string& location : locations)
        if (auto track = resolve(location); track.is_valid()) tracks.push_back(track);
    platform::async([notify, tracks] { notify->on_completion(tracks); });
}

bool CountingCompiler::compile(service_ptr_t<titleformat_object>& out, const char* pattern) {
    compiled.emplace_back(pattern ? pattern : "");
    return m_engine->compile(out, pattern);
}

PlaylistHost::PlaylistHost() {
    FakeHost& h = bound.host;
    h.add(playlist_manager::class_guid, playlists);
    h.add(playlist_manager_v2::class_guid, playlists);
    h.add(titleformat_compiler::class_guid, compiler);
    h.add(playlist_incoming_item_filter_v2::class_guid, incoming);
    playlists->setPlayItem([this](size_t playlist, size_t item) {
        played.emplace_back(playlist, item);
        return true;
    });
}

size_t PlaylistHost::addPlaylist(const char* name, const metadb_handle_list& tracks) {
    const size_t p = playlists->create_playlist(name, SIZE_MAX, SIZE_MAX);
    playlists->playlist_add_items(p, tracks, bit_array_false());
    return p;
}

size_t PlaylistHost::showPlaylist(const char* name, const metadb_handle_list& tracks) {
    const size_t p = addPlaylist(name, tracks);
    playlists->set_active_playlist(p);
    return p;
}

void PlaylistHost::playItem(size_t playlist, size_t item) {
    playlists->setPlayingLocation(playlist, item);
    playback->play(playlists->playlist_get_item_handle(playlist, item));
}

std::vector<std::string> PlaylistHost::playlistNames() const {
    std::vector<std::string> out;
    for (size_t i = 0; i < playlists->get_playlist_count(); ++i) {
        cvk::stringLite name;
        playlists->playlist_get_name(i, name);
        out.push_back(name.str());
    }
    return out;
}

std::vector<std::string> PlaylistHost::paths(size_t playlist) const {
    metadb_handle_list items;
    playlists->playlist_get_all_items(playlist, items);
    std::vector<std::string> out;
    for (const auto& track : items) out.emplace_back(track->get_path());
    return out;
}

std::vector<size_t> PlaylistHost::selection(size_t playlist) const {
    const bit_array_bittable mask = playlists->playlist_get_selection_mask(playlist);
    std::vector<size_t> out;
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask.get(i)) out.push_back(i);
    return out;
}
