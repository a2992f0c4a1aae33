#include "PlaybackOrder.h"

#include "bit_array.h"
#include "MaskOps.h"

#include <algorithm>
#include <unordered_map>

namespace playlists {

namespace {

constexpr const char* kOrderNames[kOrderCount] = {
    "Default",          "Repeat (playlist)", "Repeat (track)",    "Random",
    "Shuffle (tracks)", "Shuffle (albums)",  "Shuffle (folders)",
};

size_t below(RandomEngine& random, size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
}

}  // namespace

const char* orderName(size_t index) { return index < kOrderCount ? kOrderNames[index] : nullptr; }

std::string folderKey(const service_ptr_t<metadb_handle>& track) {
    if (!track) return {};
    const std::string path = track->get_path();
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// --- ShuffleSequence ---

void ShuffleSequence::shuffle(size_t count, RandomEngine& random) {
    m_items.resize(count);
    for (size_t n = 0; n < count; ++n) m_items[n] = n;
    std::shuffle(m_items.begin(), m_items.end(), random);
    reindex();
}

void ShuffleSequence::clear() {
    m_items.clear();
    m_ranks.clear();
}

void ShuffleSequence::swapRanks(size_t a, size_t b) {
    std::swap(m_items[a], m_items[b]);
    m_ranks[m_items[a]] = a;
    m_ranks[m_items[b]] = b;
}

void ShuffleSequence::reindex() {
    m_ranks.assign(m_items.size(), 0);
    for (size_t r = 0; r < m_items.size(); ++r) m_ranks[m_items[r]] = r;
}

void ShuffleSequence::inserted(size_t base, size_t count, size_t afterRank, RandomEngine& random) {
    if (m_items.empty() || count == 0) return;
    for (size_t& item : m_items)
        if (item >= base) item += count;
    std::vector<size_t> fresh(count);
    for (size_t n = 0; n < count; ++n) fresh[n] = base + n;
    std::shuffle(fresh.begin(), fresh.end(), random);

    // Interleave the new items at random with the ranks still to come; the
    // ones before keep their places, and so do the rest relative to each other.
    const size_t keep = afterRank < m_items.size() ? afterRank + 1 : 0;
    const size_t tail = m_items.size() - keep;
    std::vector<bool> slotIsNew(tail + count, false);
    std::fill(slotIsNew.begin(), slotIsNew.begin() + ptrdiff_t(count), true);
    std::shuffle(slotIsNew.begin(), slotIsNew.end(), random);
    std::vector<size_t> out(m_items.begin(), m_items.begin() + ptrdiff_t(keep));
    out.reserve(m_items.size() + count);
    size_t old = keep, added = 0;
    for (bool isNew : slotIsNew) out.push_back(isNew ? fresh[added++] : m_items[old++]);
    m_items = std::move(out);
    reindex();
}

void ShuffleSequence::removed(const bit_array& mask, size_t oldCount, size_t* rank) {
    if (m_items.size() != oldCount) {
        clear();
        if (rank) *rank = SIZE_MAX;
        return;
    }
    const std::vector<size_t> map = removalMap(mask, oldCount);
    std::vector<size_t> out;
    out.reserve(oldCount);
    size_t newRank = SIZE_MAX;
    for (size_t r = 0; r < m_items.size(); ++r) {
        if (rank && r == *rank) newRank = out.size();
        const size_t moved = map[m_items[r]];
        if (moved != SIZE_MAX) out.push_back(moved);
    }
    if (rank) *rank = newRank == SIZE_MAX ? out.size() : newRank;
    m_items = std::move(out);
    reindex();
}

void ShuffleSequence::reordered(const size_t* order, size_t count) {
    if (m_items.size() != count) {
        clear();
        return;
    }
    std::vector<size_t> newIndexOf(count);
    for (size_t n = 0; n < count; ++n) newIndexOf[order[n]] = n;
    for (size_t& item : m_items) item = newIndexOf[item];
    reindex();
}

// --- groups of consecutive items sharing a key ---

class PlaybackOrder::Groups {
public:
    Groups(const metadb_handle_list& items, const GroupKeyFn& key, Grouping grouping)
        : m_items(items), m_key(key), m_grouping(grouping) {}

    bool isStart(size_t i) { return i == 0 || keyOf(i - 1) != keyOf(i); }
    size_t startOf(size_t i) {
        while (!isStart(i)) --i;
        return i;
    }
    size_t lastOf(size_t i) {
        while (i + 1 < m_items.size() && !isStart(i + 1)) ++i;
        return i;
    }

private:
    const std::string& keyOf(size_t i) {
        auto it = m_cache.find(i);
        if (it != m_cache.end()) return it->second;
        std::string key = m_key ? m_key(m_items[i], m_grouping) : folderKey(m_items[i]);
        return m_cache.emplace(i, std::move(key)).first->second;
    }

    const metadb_handle_list& m_items;
    const GroupKeyFn& m_key;
    Grouping m_grouping;
    std::unordered_map<size_t, std::string> m_cache;
};

// --- PlaybackOrder ---

PlaybackOrder::PlaybackOrder(uint64_t seed) : m_random(seed) {}

std::optional<size_t> PlaybackOrder::randomItem(size_t count, size_t current) {
    if (count == 0) return std::nullopt;
    if (count == 1 || current >= count) return below(m_random, count);
    // Draw among the others, then step over the current one.
    const size_t pick = below(m_random, count - 1);
    return pick >= current ? pick + 1 : pick;
}

void PlaybackOrder::reshuffleAvoiding(ShuffleSequence& seq, size_t count, size_t avoid) {
    seq.shuffle(count, m_random);
    // A new round should not open with the track that just closed the last one.
    if (count > 1 && seq.itemAt(0) == avoid) seq.swapRanks(0, 1 + below(m_random, count - 1));
}

namespace {
// A step to an item of the playlist (not the queue), when there is one.
std::optional<OrderStep> item(std::optional<size_t> i) {
    if (!i) return std::nullopt;
    return OrderStep{false, *i};
}
}  // namespace

std::optional<OrderStep> PlaybackOrder::next(const OrderInput& in) {
    if (in.queued > 0) return OrderStep{true, SIZE_MAX};
    const size_t count = in.items ? in.items->size() : 0;
    if (count == 0) return std::nullopt;

    const OrderCursor& c = in.cursor;
    const bool hasCurrent = c.removed || c.item < count;
    OrderKind order = in.order;
    if (order == OrderKind::RepeatTrack && in.manual) order = OrderKind::Default;

    switch (order) {
        case OrderKind::Default:
        case OrderKind::RepeatPlaylist:
        case OrderKind::RepeatTrack: {
            if (!hasCurrent) return item(0);
            if (order == OrderKind::RepeatTrack && !c.removed) return item(c.item);
            const size_t next = c.removed ? c.item : c.item + 1;
            if (next < count) return item(next);
            return order == OrderKind::RepeatPlaylist ? item(0) : std::nullopt;
        }
        case OrderKind::Random:
            return item(randomItem(count, c.removed ? SIZE_MAX : c.item));
        case OrderKind::ShuffleTracks:
        case OrderKind::ShuffleAlbums:
        case OrderKind::ShuffleFolders:
            return item(nextShuffled(in, count));
    }
    return std::nullopt;
}

std::optional<OrderStep> PlaybackOrder::previous(const OrderInput& in) {
    const size_t count = in.items ? in.items->size() : 0;
    if (count == 0) return std::nullopt;
    const OrderCursor& c = in.cursor;
    if (!c.removed && c.item >= count) return std::nullopt;
    OrderKind order = in.order;
    if (order == OrderKind::RepeatTrack && in.manual) order = OrderKind::Default;

    switch (order) {
        case OrderKind::Default:
        case OrderKind::RepeatPlaylist:
        case OrderKind::RepeatTrack: {
            if (order == OrderKind::RepeatTrack && !c.removed) return item(c.item);
            if (c.item > 0) return item(std::min(c.item, count) - 1);
            return order == OrderKind::RepeatPlaylist ? item(count - 1) : std::nullopt;
        }
        case OrderKind::Random:
            return item(randomItem(count, c.removed ? SIZE_MAX : c.item));
        case OrderKind::ShuffleTracks:
        case OrderKind::ShuffleAlbums:
        case OrderKind::ShuffleFolders:
            return item(previousShuffled(in, count));
    }
    return std::nullopt;
}

std::optional<size_t> PlaybackOrder::nextShuffled(const OrderInput& in, size_t count) {
    ShuffleSequence local;
    ShuffleSequence& seq = in.shuffle ? *in.shuffle : local;
    const OrderCursor& c = in.cursor;
    if (!seq.covers(count)) seq.shuffle(count, m_random);

    if (in.order != OrderKind::ShuffleTracks) {
        Groups groups(*in.items, m_key,
                      in.order == OrderKind::ShuffleAlbums ? Grouping::Album : Grouping::Folder);
        return nextGroup(in, seq, groups, count);
    }

    size_t rank;
    if (c.removed)
        rank = c.rank;
    else if (c.item < count)
        rank = seq.rankOf(c.item) + 1;
    else
        rank = 0;
    if (rank < count) return seq.itemAt(rank);
    reshuffleAvoiding(seq, count, c.removed ? SIZE_MAX : c.item);
    return seq.itemAt(0);
}

std::optional<size_t> PlaybackOrder::previousShuffled(const OrderInput& in, size_t count) {
    ShuffleSequence local;
    ShuffleSequence& seq = in.shuffle ? *in.shuffle : local;
    const OrderCursor& c = in.cursor;
    if (!seq.covers(count)) {
        // A sequence made now has no past to retrace.
        seq.shuffle(count, m_random);
        return std::nullopt;
    }
    if (in.order != OrderKind::ShuffleTracks) {
        Groups groups(*in.items, m_key,
                      in.order == OrderKind::ShuffleAlbums ? Grouping::Album : Grouping::Folder);
        return previousGroup(in, seq, groups, count);
    }
    const size_t rank = c.removed ? std::min(c.rank, count) : seq.rankOf(c.item);
    if (rank == 0) return std::nullopt;
    return seq.itemAt(rank - 1);
}

std::optional<size_t> PlaybackOrder::nextGroup(const OrderInput& in, ShuffleSequence& seq, Groups& groups,
                                               size_t count) {
    const OrderCursor& c = in.cursor;

    size_t fromRank = 0;        // walk the sequence from here for the next group's first item
    size_t current = SIZE_MAX;  // first item of the group playing now
    if (c.removed) {
        // The removed track's group goes on when its place is mid-group.
        if (c.item < count && c.item > 0 && !groups.isStart(c.item)) return c.item;
        fromRank = std::min(c.rank, count);
    } else if (c.item < count) {
        if (c.item + 1 < count && !groups.isStart(c.item + 1)) return c.item + 1;
        current = groups.startOf(c.item);
        fromRank = seq.rankOf(current) + 1;
    }
    for (size_t r = fromRank; r < count; ++r) {
        const size_t x = seq.itemAt(r);
        if (x != current && groups.isStart(x)) return x;
    }
    // End of the round: a new order of groups, not opening with the one just played.
    seq.shuffle(count, m_random);
    size_t fallback = SIZE_MAX;
    for (size_t r = 0; r < count; ++r) {
        const size_t x = seq.itemAt(r);
        if (!groups.isStart(x)) continue;
        if (x != current) return x;
        fallback = x;
    }
    return fallback == SIZE_MAX ? std::nullopt : std::optional<size_t>(fallback);
}

std::optional<size_t> PlaybackOrder::previousGroup(const OrderInput& in, ShuffleSequence& seq, Groups& groups,
                                                   size_t count) {
    const OrderCursor& c = in.cursor;
    size_t rank;
    if (c.removed) {
        if (c.item < count && c.item > 0 && !groups.isStart(c.item)) return c.item - 1;
        rank = std::min(c.rank, count);
    } else {
        if (!groups.isStart(c.item)) return c.item - 1;
        rank = seq.rankOf(c.item);
    }
    // The group before in the sequence, entered from its end as next left it.
    while (rank-- > 0) {
        const size_t x = seq.itemAt(rank);
        if (groups.isStart(x)) return groups.lastOf(x);
    }
    return std::nullopt;
}

}  // namespace playlists
