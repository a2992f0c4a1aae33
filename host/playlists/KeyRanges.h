#pragma once

// Closed ranges of row keys: the rows a playlist has not written yet. An
// insert claims the whole gap it fills, so a run of appends is one range
// however many items it brings.

#include <cstdint>
#include <map>

namespace playlists {

class KeyRanges {
public:
    // Touching or overlapping ranges merge.
    void add(int64_t first, int64_t last);
    bool contains(int64_t key) const;
    bool empty() const { return m_ranges.empty(); }
    void clear() { m_ranges.clear(); }
    // first -> last, ascending.
    const std::map<int64_t, int64_t>& ranges() const { return m_ranges; }

private:
    std::map<int64_t, int64_t> m_ranges;
};

}  // namespace playlists
