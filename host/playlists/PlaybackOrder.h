#pragma once

// Which item plays after (or before) the current one, for each playback order.
//
//   Default             next item; stops after the last, previous stops at the first
//   Repeat (playlist)   as Default, but wraps around at both ends
//   Repeat (track)      the same item again when a track ends; the user's next
//                       and previous move on as in Default
//   Random              any other item, drawn afresh each time (previous too)
//   Shuffle (tracks)    a shuffled sequence of all items, kept per playlist:
//                       previous retraces it; after the last a new one is drawn,
//                       so shuffling never stops
//   Shuffle (albums)    runs of consecutive items with the same album key play
//   Shuffle (folders)   in playlist order; the runs come in shuffled order
//                       (the order of their first items in the sequence)
//
// A non-empty playback queue comes first for next (never for previous).
// Threads: main thread (the sequences live with the playlists).

#include "metadb_handle.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

class bit_array;

namespace playlists {

enum class OrderKind : size_t {
    Default,
    RepeatPlaylist,
    RepeatTrack,
    Random,
    ShuffleTracks,
    ShuffleAlbums,
    ShuffleFolders,
};
inline constexpr size_t kOrderCount = 7;

// The name shown to users; null past the end.
const char* orderName(size_t index);

enum class Grouping { Album, Folder };
// The key that makes consecutive items one album (folder) for the shuffles.
using GroupKeyFn = std::function<std::string(const service_ptr_t<metadb_handle>&, Grouping)>;

// The directory part of the handle's path: the fallback key for both groupings.
std::string folderKey(const service_ptr_t<metadb_handle>& track);

using RandomEngine = std::mt19937_64;

// A playlist's shuffled sequence: rank -> item and back. Made on first use and
// kept in step with the playlist's edits, so that previous retraces it.
class ShuffleSequence {
public:
    bool covers(size_t count) const { return m_items.size() == count && count > 0; }
    size_t size() const { return m_items.size(); }
    size_t itemAt(size_t rank) const { return m_items[rank]; }
    size_t rankOf(size_t item) const { return m_ranks[item]; }

    void shuffle(size_t count, RandomEngine& random);
    void swapRanks(size_t a, size_t b);
    void clear();

    // New items take random places among the ranks after `afterRank` (SIZE_MAX:
    // anywhere), so that the ones still to come can include them.
    void inserted(size_t base, size_t count, size_t afterRank, RandomEngine& random);
    // `rank`, when given, moves to the rank of the first survivor at or after it.
    void removed(const bit_array& mask, size_t oldCount, size_t* rank = nullptr);
    // order[new position] = old position.
    void reordered(const size_t* order, size_t count);

private:
    void reindex();

    std::vector<size_t> m_items;
    std::vector<size_t> m_ranks;
};

// Where playback stands in its playlist.
struct OrderCursor {
    size_t item = SIZE_MAX;  // SIZE_MAX: nothing played yet
    // The playing item has been removed: `item` is the one that took its place
    // (possibly the count) and `rank` is its place in the shuffled sequence.
    bool removed = false;
    size_t rank = SIZE_MAX;
};

struct OrderStep {
    bool fromQueue = false;  // the queue's first entry
    size_t item = SIZE_MAX;  // otherwise this item of the playlist
};

struct OrderInput {
    OrderKind order = OrderKind::Default;
    const metadb_handle_list* items = nullptr;
    OrderCursor cursor;
    ShuffleSequence* shuffle = nullptr;  // the playlist's own
    bool manual = false;                 // the user asked, rather than a track ending
    size_t queued = 0;                   // entries in the playback queue
};

class PlaybackOrder {
public:
    explicit PlaybackOrder(uint64_t seed = std::random_device{}());

    // Unset, both groupings fall back to folderKey.
    void setGroupKey(GroupKeyFn key) { m_key = std::move(key); }
    RandomEngine& random() { return m_random; }

    // Nothing: stop.
    std::optional<OrderStep> next(const OrderInput& in);
    std::optional<OrderStep> previous(const OrderInput& in);
    // A random item other than `current` when there is another.
    std::optional<size_t> randomItem(size_t count, size_t current);

private:
    class Groups;

    std::optional<size_t> nextShuffled(const OrderInput& in, size_t count);
    std::optional<size_t> previousShuffled(const OrderInput& in, size_t count);
    std::optional<size_t> nextGroup(const OrderInput& in, ShuffleSequence& seq, Groups& groups, size_t count);
    std::optional<size_t> previousGroup(const OrderInput& in, ShuffleSequence& seq, Groups& groups,
                                        size_t count);
    void reshuffleAvoiding(ShuffleSequence& seq, size_t count, size_t avoid);

    RandomEngine m_random;
    GroupKeyFn m_key;
};

}  // namespace playlists
