#include "ClosedPlaylists.h"

#include <algorithm>

void ClosedPlaylists::record(ClosedPlaylist entry) {
    _entries.push_back(std::move(entry));
    if (_entries.size() > kCapacity) _entries.erase(_entries.begin());
}

size_t ClosedPlaylists::resolve(size_t position) const {
    if (_entries.empty()) return SIZE_MAX;
    return position < _entries.size() ? position : _entries.size() - 1;
}

std::optional<ClosedPlaylist> ClosedPlaylists::take(size_t position) {
    const size_t at = resolve(position);
    if (at == SIZE_MAX) return std::nullopt;
    ClosedPlaylist entry = std::move(_entries[at]);
    _entries.erase(_entries.begin() + std::ptrdiff_t(at));
    return entry;
}

void ClosedPlaylists::putBack(size_t position, ClosedPlaylist entry) {
    _entries.insert(_entries.begin() + std::ptrdiff_t(std::min(position, _entries.size())), std::move(entry));
}
