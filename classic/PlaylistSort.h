#pragma once

// The order that sorts a playlist by one text per item, as a file browser
// sorts names: by the user's locale, ignoring case, numbers by value ("2"
// before "10").

#include <QString>

#include <cstddef>
#include <vector>

// order[new position] = old position. Stable in both directions: items with
// the same key keep their order.
std::vector<size_t> sortOrder(const std::vector<QString>& keys, bool descending);
