#include "KeyRanges.h"

#include <algorithm>
#include <iterator>

namespace playlists {

void KeyRanges::add(int64_t first, int64_t last) {
    if (last < first) return;
    auto it = m_ranges.upper_bound(first);
    if (it != m_ranges.begin()) {
        auto before = std::prev(it);
        if (before->second >= first - 1) {
            first = before->first;
            last = std::max(last, before->second);
            it = m_ranges.erase(before);
        }
    }
    while (it != m_ranges.end() && it->first <= last + 1) {
        last = std::max(last, it->second);
        it = m_ranges.erase(it);
    }
    m_ranges.emplace(first, last);
}

bool KeyRanges::contains(int64_t key) const {
    auto it = m_ranges.upper_bound(key);
    if (it == m_ranges.begin()) return false;
    return std::prev(it)->second >= key;
}

}  // namespace playlists
