#include "PlaylistTrackSource.h"

namespace playback {

namespace {

std::optional<PlayTarget> fromManager(const std::optional<playlists::PlaybackTarget>& t) {
    if (!t || !t->track) return std::nullopt;
    return PlayTarget{t->track, t->playlist, t->item};
}

}  // namespace

std::optional<PlayTarget> PlaylistTrackSource::next(bool manual) {
    return fromManager(m_manager->nextTrack(manual));
}

std::optional<PlayTarget> PlaylistTrackSource::previous() { return fromManager(m_manager->previousTrack()); }

std::optional<PlayTarget> PlaylistTrackSource::random() { return fromManager(m_manager->randomTrack()); }

std::optional<PlayTarget> PlaylistTrackSource::focused(bool orSelected) {
    const size_t playlist = m_manager->get_active_playlist();
    const size_t count = m_manager->playlist_get_item_count(playlist);
    if (playlist == SIZE_MAX || count == 0) return std::nullopt;
    size_t item = m_manager->playlist_get_focus_item(playlist);
    if (item >= count) {
        if (!orSelected) return std::nullopt;
        item = 0;
        const bit_array_bittable selected = m_manager->playlist_get_selection_mask(playlist);
        for (size_t n = 0; n < count; ++n)
            if (selected.get(n)) {
                item = n;
                break;
            }
    }
    return at(playlist, item);
}

std::optional<PlayTarget> PlaylistTrackSource::at(size_t playlist, size_t item) {
    auto track = m_manager->playlist_get_item_handle(playlist, item);
    if (!track) return std::nullopt;
    return PlayTarget{track, playlist, item};
}

size_t PlaylistTrackSource::itemCount(size_t playlist) {
    if (playlist == SIZE_MAX) playlist = m_manager->get_active_playlist();
    return m_manager->playlist_get_item_count(playlist);
}

void PlaylistTrackSource::setPlaying(const PlayTarget& target) {
    m_manager->setPlayingLocation(target.playlist, target.item);
}

}  // namespace playback
