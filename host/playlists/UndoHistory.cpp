#include "UndoHistory.h"

namespace playlists {

void UndoHistory::pushBounded(std::deque<PlaylistState>& stack, PlaylistState state, size_t depth) {
    stack.push_back(std::move(state));
    while (stack.size() > depth) stack.pop_front();
}

void UndoHistory::backup(PlaylistState current) {
    pushBounded(m_undo, std::move(current), m_depth);
    m_redo.clear();
}

std::optional<PlaylistState> UndoHistory::undo(PlaylistState current) {
    if (m_undo.empty()) return std::nullopt;
    PlaylistState restored = std::move(m_undo.back());
    m_undo.pop_back();
    pushBounded(m_redo, std::move(current), m_depth);
    return restored;
}

std::optional<PlaylistState> UndoHistory::redo(PlaylistState current) {
    if (m_redo.empty()) return std::nullopt;
    PlaylistState restored = std::move(m_redo.back());
    m_redo.pop_back();
    pushBounded(m_undo, std::move(current), m_depth);
    return restored;
}

void UndoHistory::clear() {
    m_undo.clear();
    m_redo.clear();
}

}  // namespace playlists
