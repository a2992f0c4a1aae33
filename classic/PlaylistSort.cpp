#include "PlaylistSort.h"

#include "CompareNumeric.h"

#include <algorithm>
#include <numeric>

std::vector<size_t> sortOrder(const std::vector<QString>& keys, bool descending) {
    std::vector<size_t> order(keys.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        // Grouped playlists repeat keys often; equal texts need no collation.
        if (keys[a] == keys[b]) return false;
        const int c = platform::compareNumeric(keys[a], keys[b]);
        return descending ? c > 0 : c < 0;
    });
    return order;
}
