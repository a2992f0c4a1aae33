// The playback side of the manager: queue, playback orders, the playing
// position and the default action.

#include "PlaylistManager.h"

#include "Playlist_p.h"
#include "service_factory.h"

#include <algorithm>
#include <unordered_set>

namespace playlists {

namespace {
using CB = playlist_callback;
}

// --- Keeping positions in step with item edits ---

bool PlaylistManager::remapItems(Playlist& p, const std::vector<size_t>& map) {
    const size_t before = m_queue.size();
    std::erase_if(m_queue, [&](QueueEntry& e) {
        if (e.playlist != &p) return false;
        if (e.item >= map.size() || map[e.item] == SIZE_MAX) return true;
        e.item = map[e.item];
        return false;
    });
    if (m_cursor.playlist == &p && m_cursor.item != SIZE_MAX) {
        size_t item = m_cursor.item;
        if (!m_cursor.removed && item < map.size() && map[item] != SIZE_MAX) {
            m_cursor.item = map[item];
        } else {
            // Gone, or already a gap: the gap now sits before the next survivor.
            while (item < map.size() && map[item] == SIZE_MAX) ++item;
            size_t survivors = 0;
            for (size_t n = 0; n < map.size(); ++n)
                if (map[n] != SIZE_MAX) ++survivors;
            m_cursor.item = item < map.size() ? map[item] : survivors;
            m_cursor.removed = true;
        }
    }
    return m_queue.size() != before;
}

void PlaylistManager::shiftItems(Playlist& p, size_t base, size_t count) {
    for (QueueEntry& e : m_queue)
        if (e.playlist == &p && e.item >= base) e.item += count;
    size_t afterRank = SIZE_MAX;
    const size_t oldCount = p.items.size() - count;
    if (m_cursor.playlist == &p) {
        if (m_cursor.removed)
            afterRank = m_cursor.rank > 0 ? m_cursor.rank - 1 : SIZE_MAX;
        else if (m_cursor.item < oldCount && p.shuffle.covers(oldCount))
            afterRank = p.shuffle.rankOf(m_cursor.item);
        if (m_cursor.item != SIZE_MAX && m_cursor.item >= base) m_cursor.item += count;
    }
    p.shuffle.inserted(base, count, afterRank, m_order.random());
}

bool PlaylistManager::dropPlaylistReferences(const Playlist* p) {
    if (m_cursor.playlist == p) m_cursor = Cursor();
    return std::erase_if(m_queue, [p](const QueueEntry& e) { return e.playlist == p; }) > 0;
}

// --- Playing position and default action ---

bool PlaylistManager::get_playing_item_location(size_t& playlist, size_t& item) {
    assertMainThread();
    const Playlist* p = m_cursor.playlist;
    if (!m_cursor.shown || !p || m_cursor.removed || m_cursor.item >= p->items.size()) return false;
    playlist = indexOf(p);
    item = m_cursor.item;
    return true;
}

void PlaylistManager::setPlayingLocation(size_t playlist, size_t item) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || item >= p->items.size()) {
        m_cursor.shown = false;
        return;
    }
    m_cursor = Cursor{p, item, false, SIZE_MAX, true};
}

void PlaylistManager::clearPlayingLocation() {
    assertMainThread();
    m_cursor.shown = false;
}

bool PlaylistManager::playlist_execute_default_action(size_t playlist, size_t item) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || item >= p->items.size()) return false;
    if (p->lock) {
        const service_ptr_t<playlist_lock> lock = p->lock;
        if ((lock->get_filter_mask() & playlist_lock::filter_default_action) &&
            lock->execute_default_action(item))
            return true;
        playlist = indexOf(p);
        if (playlist == SIZE_MAX || item >= p->items.size()) return false;
    }
    return m_playItem && m_playItem(playlist, item);
}

OrderCursor PlaylistManager::cursorFor(const Playlist& p) const {
    if (m_cursor.playlist != &p) return {};
    return {m_cursor.item, m_cursor.removed, m_cursor.rank};
}

std::optional<PlaybackTarget> PlaylistManager::orderStep(bool next, bool manual) {
    if (next && !m_queue.empty()) {
        QueueEntry entry = std::move(m_queue.front());
        m_queue.erase(m_queue.begin());
        notifyQueue(playback_queue_callback::changed_playback_advance);
        const size_t playlist = indexOf(entry.playlist);
        return PlaybackTarget{entry.track, playlist, playlist == SIZE_MAX ? SIZE_MAX : entry.item};
    }
    Playlist* p = m_cursor.playlist ? m_cursor.playlist : m_active;
    if (!p) return std::nullopt;
    OrderInput in;
    in.order = OrderKind(m_orderIndex);
    in.items = &p->items;
    in.cursor = cursorFor(*p);
    in.shuffle = &p->shuffle;
    in.manual = manual;
    const std::optional<OrderStep> step = next ? m_order.next(in) : m_order.previous(in);
    if (!step || step->item >= p->items.size()) return std::nullopt;
    return PlaybackTarget{p->items[step->item], indexOf(p), step->item};
}

std::optional<PlaybackTarget> PlaylistManager::nextTrack(bool manual) {
    assertMainThread();
    return orderStep(true, manual);
}

std::optional<PlaybackTarget> PlaylistManager::previousTrack() {
    assertMainThread();
    return orderStep(false, true);
}

std::optional<PlaybackTarget> PlaylistManager::randomTrack() {
    assertMainThread();
    Playlist* p = m_active ? m_active : m_cursor.playlist;
    if (!p) return std::nullopt;
    const OrderCursor c = cursorFor(*p);
    const std::optional<size_t> item = m_order.randomItem(p->items.size(), c.removed ? SIZE_MAX : c.item);
    if (!item) return std::nullopt;
    return PlaybackTarget{p->items[*item], indexOf(p), *item};
}

// --- Queue ---

void PlaylistManager::notifyQueue(playback_queue_callback::t_change_origin origin) {
    const service_class_helper_t<playback_queue_callback> callbacks;
    const size_t count = callbacks.get_count();
    for (size_t n = 0; n < count; ++n) callbacks.create(n)->on_changed(origin);
}

void PlaylistManager::queue_add_item_playlist(size_t playlist, size_t item) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || item >= p->items.size()) return;
    m_queue.push_back({p->items[item], p, item});
    notifyQueue(playback_queue_callback::changed_user_added);
}

void PlaylistManager::queue_add_item(const service_ptr_t<metadb_handle>& track) {
    assertMainThread();
    if (!track) return;
    m_queue.push_back({track, nullptr, SIZE_MAX});
    notifyQueue(playback_queue_callback::changed_user_added);
}

void PlaylistManager::queue_remove_mask(const bit_array& mask) {
    assertMainThread();
    size_t position = 0;
    const size_t removed = std::erase_if(m_queue, [&](const QueueEntry&) { return mask.get(position++); });
    if (removed > 0) notifyQueue(playback_queue_callback::changed_user_removed);
}

void PlaylistManager::queue_flush() {
    assertMainThread();
    if (m_queue.empty()) return;
    m_queue.clear();
    notifyQueue(playback_queue_callback::changed_user_removed);
}

size_t PlaylistManager::queue_get_count() {
    assertMainThread();
    return m_queue.size();
}

void PlaylistManager::queue_get_contents(std::vector<t_playback_queue_item>& out) {
    assertMainThread();
    out.clear();
    out.reserve(m_queue.size());
    for (const QueueEntry& e : m_queue) {
        const size_t playlist = indexOf(e.playlist);
        out.push_back({e.track, playlist, playlist == SIZE_MAX ? SIZE_MAX : e.item});
    }
}

// --- Playback orders ---

size_t PlaylistManager::playback_order_get_count() {
    assertMainThread();
    return kOrderCount;
}

const char* PlaylistManager::playback_order_get_name(size_t index) {
    assertMainThread();
    return orderName(index);
}

size_t PlaylistManager::playback_order_get_active() {
    assertMainThread();
    return m_orderIndex;
}

void PlaylistManager::playback_order_set_active(size_t index) {
    assertMainThread();
    if (index >= kOrderCount || index == m_orderIndex) return;
    m_orderIndex = index;
    markState();
    if (m_callbacks.wants(CB::flag_on_playback_order_changed))
        m_callbacks.fire(CB::flag_on_playback_order_changed,
                         [index](CB& cb) { cb.on_playback_order_changed(index); });
}

// --- Track info ---

void PlaylistManager::notifyTracksModified(const metadb_handle_list& tracks) {
    assertMainThread();
    markModified(tracks, false, playback_control::display_level_all);
}

void PlaylistManager::notifyTracksModifiedFromPlayback(const metadb_handle_list& tracks,
                                                       playback_control::t_display_level level) {
    assertMainThread();
    markModified(tracks, true, level);
}

void PlaylistManager::markModified(const metadb_handle_list& tracks, bool fromPlayback,
                                   playback_control::t_display_level level) {
    const uint32_t flag = fromPlayback ? CB::flag_on_items_modified_fromplayback : CB::flag_on_items_modified;
    if (tracks.empty() || !m_callbacks.wants(flag)) return;
    // One handle per track, so identity is enough.
    std::unordered_set<const metadb_handle*> wanted;
    for (const auto& t : tracks) wanted.insert(t.get_ptr());
    for (size_t playlist = 0; playlist < m_playlists.size(); ++playlist) {
        const Playlist& p = *m_playlists[playlist];
        bit_array_bittable mask;
        for (size_t n = 0; n < p.items.size(); ++n)
            if (wanted.count(p.items[n].get_ptr())) mask.set(n, true);
        if (mask.size() == 0) continue;
        mask.resize(p.items.size());
        if (fromPlayback)
            m_callbacks.fire(flag, [playlist, mask, level](CB& cb) {
                cb.on_items_modified_fromplayback(playlist, mask, level);
            });
        else
            m_callbacks.fire(flag, [playlist, mask](CB& cb) { cb.on_items_modified(playlist, mask); });
    }
}

}  // namespace playlists
