#pragma once

// Recently closed playlists, oldest first: what a removed playlist held, kept
// in memory so that it can be brought back. Holds the last kCapacity. Main
// thread.

#include "metadb_handle.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ClosedPlaylist {
    std::string name;
    metadb_handle_list items;
};

class ClosedPlaylists {
public:
    static constexpr size_t kCapacity = 10;

    // Drops the oldest beyond the capacity.
    void record(ClosedPlaylist entry);
    // Takes the entry at `position` out; a position past the end takes the
    // most recent. None when the list is empty.
    std::optional<ClosedPlaylist> take(size_t position);
    // Puts a taken entry back where it was.
    void putBack(size_t position, ClosedPlaylist entry);

    const std::vector<ClosedPlaylist>& entries() const { return _entries; }
    bool empty() const { return _entries.empty(); }
    void clear() { _entries.clear(); }

    // Where take(position) takes from; SIZE_MAX for an empty list.
    size_t resolve(size_t position) const;

private:
    std::vector<ClosedPlaylist> _entries;
};
