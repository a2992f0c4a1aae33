#pragma once

// Where the engine's tracks come from: the playlists, the playback queue and
// the playback order. The engine asks; the source answers and keeps track of
// where playback stands.
//
// Threads: main thread.

#include "metadb_handle.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace playback {

// `playlist` and `item` are SIZE_MAX for a track from no playlist (queued on its own).
struct PlayTarget {
    service_ptr_t<metadb_handle> track;
    size_t playlist = SIZE_MAX;
    size_t item = SIZE_MAX;
};

class TrackSource {
public:
    virtual ~TrackSource() = default;

    // After the current track, the queue first (its entry is used up).
    // `manual`: the user asked, rather than a track ending.
    virtual std::optional<PlayTarget> next(bool manual) = 0;
    virtual std::optional<PlayTarget> previous() = 0;
    virtual std::optional<PlayTarget> random() = 0;
    // The active playlist's focused item; with `orSelected`, failing that its
    // first selected item, then its first item.
    virtual std::optional<PlayTarget> focused(bool orSelected) = 0;
    virtual std::optional<PlayTarget> at(size_t playlist, size_t item) = 0;
    virtual size_t queueCount() = 0;
    // Items in the playlist (SIZE_MAX: the active one); 0 for none.
    virtual size_t itemCount(size_t playlist) = 0;

    virtual void setPlaying(const PlayTarget& target) = 0;
    virtual void clearPlaying() = 0;
};

}  // namespace playback
