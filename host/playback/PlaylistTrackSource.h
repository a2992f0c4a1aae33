#pragma once

// The engine's tracks from the host's playlist manager.

#include "PlaylistManager.h"
#include "TrackSource.h"

namespace playback {

class PlaylistTrackSource final : public TrackSource {
public:
    explicit PlaylistTrackSource(service_ptr_t<playlists::PlaylistManager> manager)
        : m_manager(std::move(manager)) {}

    playlists::PlaylistManager& manager() const { return *m_manager; }

    std::optional<PlayTarget> next(bool manual) override;
    std::optional<PlayTarget> previous() override;
    std::optional<PlayTarget> random() override;
    std::optional<PlayTarget> focused(bool orSelected) override;
    std::optional<PlayTarget> at(size_t playlist, size_t item) override;
    size_t queueCount() override { return m_manager->queue_get_count(); }
    size_t itemCount(size_t playlist) override;
    void setPlaying(const PlayTarget& target) override;
    void clearPlaying() override { m_manager->clearPlayingLocation(); }

private:
    service_ptr_t<playlists::PlaylistManager> m_manager;
};

}  // namespace playback
