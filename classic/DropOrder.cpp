#include "DropOrder.h"

#include <algorithm>

std::vector<size_t> dropOrder(size_t count, const std::vector<size_t>& dragged, size_t target) {
    std::vector<bool> marked(count, false);
    for (size_t i : dragged)
        if (i < count) marked[i] = true;
    target = std::min(target, count);
    std::vector<size_t> order;
    order.reserve(count);
    for (size_t i = 0; i < target; ++i)
        if (!marked[i]) order.push_back(i);
    for (size_t i = 0; i < count; ++i)
        if (marked[i]) order.push_back(i);
    for (size_t i = target; i < count; ++i)
        if (!marked[i]) order.push_back(i);
    return order;
}
