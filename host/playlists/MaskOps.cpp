#include "MaskOps.h"

#include <cstdint>

namespace playlists {

void insertBits(bit_array_bittable& table, size_t base, size_t count, const bit_array& bits) {
    const size_t old = table.size();
    if (base > old) base = old;
    bit_array_bittable out(old + count);
    for (size_t n = table.find(true, 0, base); n < base; n = table.find(true, n + 1, base)) out.set(n, true);
    for (size_t n = bits.find(true, 0, count); n < count; n = bits.find(true, n + 1, count))
        out.set(base + n, true);
    for (size_t n = table.find(true, base, old); n < old; n = table.find(true, n + 1, old))
        out.set(n + count, true);
    table = std::move(out);
}

void removeBits(bit_array_bittable& table, const bit_array& removed) {
    const size_t old = table.size();
    const size_t gone = removed.calc_count(true, 0, old);
    bit_array_bittable out(old - gone);
    size_t shift = 0;
    size_t next = removed.find(true, 0, old);
    for (size_t n = table.find(true, 0, old); n < old; n = table.find(true, n + 1, old)) {
        while (next < n) {
            ++shift;
            next = removed.find(true, next + 1, old);
        }
        if (next == n) continue;
        out.set(n - shift, true);
    }
    table = std::move(out);
}

bit_array_bittable permuteBits(const bit_array_bittable& table, const size_t* order, size_t count) {
    bit_array_bittable out(count);
    for (size_t n = 0; n < count; ++n)
        if (table.get(order[n])) out.set(n, true);
    return out;
}

std::vector<size_t> removalMap(const bit_array& removed, size_t count) {
    std::vector<size_t> map(count, SIZE_MAX);
    size_t kept = 0;
    for (size_t n = 0; n < count; ++n)
        if (!removed.get(n)) map[n] = kept++;
    return map;
}

}  // namespace playlists
