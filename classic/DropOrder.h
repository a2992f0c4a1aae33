#pragma once

// Where rows dragged within a playlist go.

#include <cstddef>
#include <vector>

// The order of a playlist of `count` items after moving the `dragged` items
// (indices in any order; those past the end are ignored) to the gap before
// item `target` (the count for the end): the other items before the target,
// then the dragged ones in playlist order, then the other items from the
// target on. order[new position] = old position.
std::vector<size_t> dropOrder(size_t count, const std::vector<size_t>& dragged, size_t target);
