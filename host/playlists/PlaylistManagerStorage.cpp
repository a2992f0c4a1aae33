// The manager's side of storage: what changed since the last flush, and
// writing it in one transaction.

#include "PlaylistManager.h"

#include "Playlist_p.h"
#include "PlaylistStore.h"

#include <algorithm>

namespace playlists {

namespace {

// Room left between neighbouring rows for later inserts.
constexpr int64_t kKeyGap = int64_t(1) << 20;
// Row edits up to this many are always done one by one.
constexpr size_t kRowEditLimit = 64;

// Marks a longest strictly rising subsequence of `keys` (patience sorting).
std::vector<bool> longestRise(const std::vector<int64_t>& keys) {
    std::vector<size_t> tails;  // index of the smallest tail per length
    std::vector<size_t> prev(keys.size(), SIZE_MAX);
    for (size_t i = 0; i < keys.size(); ++i) {
        auto it = std::lower_bound(tails.begin(), tails.end(), keys[i],
                                   [&](size_t t, int64_t k) { return keys[t] < k; });
        if (it != tails.begin()) prev[i] = *(it - 1);
        if (it == tails.end())
            tails.push_back(i);
        else
            *it = i;
    }
    std::vector<bool> out(keys.size(), false);
    for (size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = prev[i]) out[i] = true;
    return out;
}

std::vector<uint8_t> packBits(const bit_array_bittable& bits, size_t count) {
    std::vector<uint8_t> out((count + 7) / 8, 0);
    for (size_t n = bits.find(true, 0, count); n < count; n = bits.find(true, n + 1, count))
        out[n / 8] |= uint8_t(1u << (n % 8));
    return out;
}

bool bitOf(const std::vector<uint8_t>& packed, size_t n) {
    return n / 8 < packed.size() && (packed[n / 8] >> (n % 8) & 1u) != 0;
}

}  // namespace

void PlaylistManager::open(const std::filesystem::path& file, TrackFactory makeTrack, Print print) {
    assertMainThread();
    m_makeTrack = std::move(makeTrack);
    m_print = std::move(print);
    m_store = std::make_unique<PlaylistStore>(file, m_print);
    PlaylistStore::Contents contents = m_store->takeContents();

    m_playlists.clear();
    m_active = nullptr;
    m_queue.clear();
    m_cursor = Cursor();
    m_removedIds.clear();
    bool repaired = false;
    for (PlaylistStore::StoredPlaylist& stored : contents.playlists) {
        auto p = std::make_unique<Playlist>();
        p->id = stored.id;
        p->name = std::move(stored.name);
        p->items.reserve(stored.items.size());
        p->keys.reserve(stored.items.size());
        p->selection.resize(stored.items.size());
        for (size_t n = 0; n < stored.items.size(); ++n) {
            service_ptr_t<metadb_handle> track = m_makeTrack ? m_makeTrack(stored.items[n]) : nullptr;
            if (!track) continue;
            if (bitOf(stored.selection, n)) p->selection.set(p->items.size(), true);
            if (n == stored.focus) p->focus = p->items.size();
            p->items.push_back(std::move(track));
            p->keys.push_back(stored.keys[n]);
        }
        p->selection.resize(p->items.size());
        p->properties = std::move(stored.properties);
        // Tracks that could not be made are left out, and so must the file.
        p->itemsRewrite = p->items.size() != stored.items.size();
        p->metaDirty = p->itemsRewrite;
        repaired = repaired || p->itemsRewrite;
        if (p->id == contents.activeId) m_active = p.get();
        m_nextId = std::max(m_nextId, p->id + 1);
        m_playlists.push_back(std::move(p));
    }
    m_orderIndex = contents.order < kOrderCount ? contents.order : 0;
    m_positionsDirty = false;
    m_stateDirty = false;
    m_dirty = false;
    m_flushRequested = false;
    if (repaired) markDirty();
}

void PlaylistManager::markDirty() {
    m_dirty = true;
    if (!m_flushRequested && m_store && m_scheduleFlush) {
        m_flushRequested = true;
        m_scheduleFlush();
    }
}

void PlaylistManager::markMeta(Playlist& p) {
    p.metaDirty = true;
    markDirty();
}

void PlaylistManager::rewriteItems(Playlist& p) {
    p.itemsRewrite = true;
    p.unsaved.clear();
    p.droppedKeys.clear();
}

void PlaylistManager::claimGap(Playlist& p, size_t from, size_t end) {
    // Nothing written lies between the neighbours, so the claim may reach them
    // when they are unwritten too, and one range covers a run of appends.
    int64_t first = p.keys[from], last = p.keys[end - 1];
    if (from > 0 && p.unsaved.contains(p.keys[from - 1])) first = p.keys[from - 1];
    if (end < p.keys.size() && p.unsaved.contains(p.keys[end])) last = p.keys[end];
    p.unsaved.add(first, last);
}

void PlaylistManager::keysInserted(Playlist& p, size_t base, size_t count) {
    std::vector<int64_t> fresh(count, 0);
    bool fits = false;
    if (!p.itemsRewrite) {
        const int64_t lo = base > 0 ? p.keys[base - 1] : 0;
        const int64_t hi = base < p.keys.size() ? p.keys[base] : lo + kKeyGap * int64_t(count + 1);
        const int64_t step = (hi - lo) / int64_t(count + 1);
        fits = step > 0;
        for (size_t n = 0; fits && n < count; ++n) fresh[n] = lo + step * int64_t(n + 1);
        if (!fits) rewriteItems(p);
    }
    p.keys.insert(p.keys.begin() + ptrdiff_t(base), fresh.begin(), fresh.end());
    if (fits) claimGap(p, base, base + count);
    markDirty();
}

void PlaylistManager::keysRemoved(Playlist& p, const std::vector<size_t>& map) {
    const size_t oldCount = map.size();
    const size_t removed = oldCount - p.items.size();
    // Past a point one DELETE of everything beats a DELETE per row.
    if (!p.itemsRewrite && removed > kRowEditLimit && removed * 4 > oldCount) rewriteItems(p);
    std::vector<int64_t> kept;
    kept.reserve(p.items.size());
    for (size_t n = 0; n < oldCount; ++n) {
        if (map[n] != SIZE_MAX)
            kept.push_back(p.keys[n]);
        else if (!p.itemsRewrite && !p.unsaved.contains(p.keys[n]))
            p.droppedKeys.push_back(p.keys[n]);
    }
    p.keys = std::move(kept);
    markDirty();
}

void PlaylistManager::keysReordered(Playlist& p, const size_t* order, size_t count) {
    std::vector<int64_t> keys(count);
    for (size_t n = 0; n < count; ++n) keys[n] = p.keys[order[n]];
    p.keys = std::move(keys);
    markDirty();
    if (p.itemsRewrite) return;

    // Items already in rising key order keep their rows; only the others move,
    // each into the gap between the neighbours that stay. A drag of a few rows
    // thus writes a few rows.
    const std::vector<bool> stays = longestRise(p.keys);
    size_t moved = 0;
    for (bool s : stays) moved += s ? 0 : 1;
    if (moved > kRowEditLimit && moved * 4 > count) return rewriteItems(p);
    // Every moved row lets go of its old key first: a gap claimed below may
    // well cover the old key of a row moved further on.
    for (size_t n = 0; n < count; ++n)
        if (!stays[n] && !p.unsaved.contains(p.keys[n])) p.droppedKeys.push_back(p.keys[n]);
    for (size_t n = 0; n < count;) {
        if (stays[n]) {
            ++n;
            continue;
        }
        size_t end = n;
        while (end < count && !stays[end]) ++end;
        const size_t run = end - n;
        const int64_t lo = n > 0 ? p.keys[n - 1] : 0;
        const int64_t hi = end < count ? p.keys[end] : lo + kKeyGap * int64_t(run + 1);
        const int64_t step = (hi - lo) / int64_t(run + 1);
        if (step <= 0) return rewriteItems(p);
        for (size_t i = n; i < end; ++i) p.keys[i] = lo + step * int64_t(i - n + 1);
        claimGap(p, n, end);
        n = end;
    }
}

void PlaylistManager::keyReplaced(Playlist& p, size_t item) {
    if (!p.itemsRewrite && !p.unsaved.contains(p.keys[item])) {
        p.droppedKeys.push_back(p.keys[item]);
        p.unsaved.add(p.keys[item], p.keys[item]);
    }
    markDirty();
}

void PlaylistManager::markProperties(Playlist& p) {
    p.propertiesDirty = true;
    markDirty();
}

void PlaylistManager::markPositions() {
    m_positionsDirty = true;
    markDirty();
}

void PlaylistManager::markState() {
    m_stateDirty = true;
    markDirty();
}

void PlaylistManager::markAllForRewrite() {
    for (auto& p : m_playlists) {
        rewriteItems(*p);
        p->metaDirty = true;
        p->propertiesDirty = true;
    }
    m_removedIds.clear();
    m_positionsDirty = true;
    m_stateDirty = true;
    m_dirty = true;
}

bool PlaylistManager::writeAll() {
    // Fresh, evenly spaced keys before the rows are written out whole.
    for (auto& p : m_playlists)
        if (p->itemsRewrite)
            for (size_t i = 0; i < p->keys.size(); ++i) p->keys[i] = kKeyGap * int64_t(i + 1);
    if (!m_store->begin()) return false;
    for (int64_t id : m_removedIds) m_store->deletePlaylist(id);
    for (size_t n = 0; n < m_playlists.size(); ++n) {
        const Playlist& p = *m_playlists[n];
        if (m_positionsDirty || p.metaDirty)
            m_store->writePlaylist(p.id, n, p.name, p.focus, packBits(p.selection, p.items.size()));
        if (p.itemsRewrite) {
            m_store->deleteItems(p.id);
            for (size_t i = 0; i < p.items.size(); ++i) m_store->putItem(p.id, p.keys[i], *p.items[i]);
        } else {
            for (int64_t key : p.droppedKeys) m_store->deleteItem(p.id, key);
            // Keys rise along the list: each range is one stretch of it.
            for (const auto& [first, last] : p.unsaved.ranges()) {
                size_t i = size_t(std::lower_bound(p.keys.begin(), p.keys.end(), first) - p.keys.begin());
                for (; i < p.keys.size() && p.keys[i] <= last; ++i)
                    m_store->putItem(p.id, p.keys[i], *p.items[i]);
            }
        }
        if (p.propertiesDirty) m_store->replaceProperties(p.id, p.properties);
    }
    if (m_stateDirty || m_positionsDirty) m_store->writeState(m_active ? m_active->id : -1, m_orderIndex);
    return m_store->commit();
}

bool PlaylistManager::flush() {
    assertMainThread();
    m_flushRequested = false;
    if (!m_dirty) return true;
    if (!m_store || !m_store->isPersistent()) {
        // Nowhere to write: the console said so when the file failed.
        m_dirty = false;
        return true;
    }
    bool written = writeAll();
    if (!written && m_store->lastFailureWasCorruption() && m_store->recreate()) {
        // What is in memory is sound: it becomes the fresh file's content.
        markAllForRewrite();
        written = writeAll();
    }
    if (!written) return false;
    for (auto& p : m_playlists) {
        p->metaDirty = false;
        p->itemsRewrite = false;
        p->propertiesDirty = false;
        p->unsaved.clear();
        p->droppedKeys.clear();
    }
    m_removedIds.clear();
    m_positionsDirty = false;
    m_stateDirty = false;
    m_dirty = false;
    return true;
}

void PlaylistManager::close() {
    if (!m_store) return;
    flush();
    m_store.reset();
}

}  // namespace playlists
