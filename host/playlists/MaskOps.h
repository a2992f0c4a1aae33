#pragma once

// Bit-table edits that follow a list edit: the selection of a playlist moves
// with its items. Each walks set bits a word at a time, so a 100,000-item
// playlist with a small selection costs little more than its word count.

#include "bit_array.h"

#include <cstddef>
#include <vector>

namespace playlists {

// `table` grows by `count` bits at `base`; the new bits come from `bits` (over
// 0 .. count-1).
void insertBits(bit_array_bittable& table, size_t base, size_t count, const bit_array& bits);

// Drops the bits whose `removed` bit is set; `table` keeps its other bits in order.
void removeBits(bit_array_bittable& table, const bit_array& removed);

// order[new position] = old position.
bit_array_bittable permuteBits(const bit_array_bittable& table, const size_t* order, size_t count);

// Old index -> new index after removing `removed` from `count` entries;
// SIZE_MAX for an entry that goes.
std::vector<size_t> removalMap(const bit_array& removed, size_t count);

}  // namespace playlists
