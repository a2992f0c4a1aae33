#pragma once

// One playlist's undo and redo states: items, selection and focus as they
// were. Bounded: the oldest state goes first.

#include "bit_array.h"
#include "metadb_handle.h"

#include <cstddef>
#include <deque>
#include <optional>

namespace playlists {

struct PlaylistState {
    metadb_handle_list items;
    bit_array_bittable selection;
    size_t focus = SIZE_MAX;
};

class UndoHistory {
public:
    static constexpr size_t kDefaultDepth = 32;

    explicit UndoHistory(size_t depth = kDefaultDepth) : m_depth(depth ? depth : 1) {}

    // A new edit: the redo states no longer apply.
    void backup(PlaylistState current);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }

    // The state an undo (redo) would restore; null when there is none. Look
    // first, so that a refused restore leaves the history as it was.
    const PlaylistState* peekUndo() const { return m_undo.empty() ? nullptr : &m_undo.back(); }
    const PlaylistState* peekRedo() const { return m_redo.empty() ? nullptr : &m_redo.back(); }

    // Takes the state to restore; `current` becomes the redo (undo) state.
    std::optional<PlaylistState> undo(PlaylistState current);
    std::optional<PlaylistState> redo(PlaylistState current);

    void clear();

private:
    static void pushBounded(std::deque<PlaylistState>& stack, PlaylistState state, size_t depth);

    size_t m_depth;
    std::deque<PlaylistState> m_undo;
    std::deque<PlaylistState> m_redo;
};

}  // namespace playlists
