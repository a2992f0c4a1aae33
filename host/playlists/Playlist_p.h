#pragma once

// One playlist as the manager keeps it. Held by unique_ptr, so the queue and
// the playing position can point at it across reorders and removals of others.

#include "bit_array.h"
#include "KeyRanges.h"
#include "metadb_handle.h"
#include "PlaybackOrder.h"
#include "playlist_lock.h"
#include "PlaylistStore.h"
#include "UndoHistory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace playlists {

struct Playlist {
    int64_t id = 0;
    std::string name;
    metadb_handle_list items;
    bit_array_bittable selection;  // sized to items
    size_t focus = SIZE_MAX;
    PropertyMap properties;
    service_ptr_t<playlist_lock> lock;
    UndoHistory undo;
    ShuffleSequence shuffle;

    // Where each item sits in the file (rising along the list), and what the
    // file still lacks: rows to write and rows to delete, unless the whole
    // list is due to be rewritten.
    std::vector<int64_t> keys;
    KeyRanges unsaved;
    std::vector<int64_t> droppedKeys;
    bool itemsRewrite = false;
    bool metaDirty = true;
    bool propertiesDirty = false;

    PlaylistState state() const { return {items, selection, focus}; }
};

struct QueueEntry {
    service_ptr_t<metadb_handle> track;
    Playlist* playlist = nullptr;  // null for a track queued on its own
    size_t item = SIZE_MAX;
};

}  // namespace playlists
