#include "PlaylistManager.h"

#include "MaskOps.h"
#include "Playlist_p.h"
#include "PlaylistStore.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace playlists {

namespace {

using CB = playlist_callback;

// Names go out as C strings: an embedded NUL would cut them short anyway.
std::string makeName(const char* name, size_t len) {
    if (len == SIZE_MAX) return name;
    const void* nul = std::memchr(name, 0, len);
    return std::string(name, nul ? size_t(static_cast<const char*>(nul) - name) : len);
}

template <class F>
void send(PlaylistCallbacks& callbacks, uint32_t flag, F deliver) {
    if (callbacks.wants(flag)) callbacks.fire(flag, std::move(deliver));
}

}  // namespace

PlaylistManager::PlaylistManager() : m_thread(std::this_thread::get_id()) {}

PlaylistManager::~PlaylistManager() { close(); }

void PlaylistManager::assertMainThread() const {
    assert(std::this_thread::get_id() == m_thread && "playlist_manager called off the main thread");
}

Playlist* PlaylistManager::at(size_t playlist) const {
    return playlist < m_playlists.size() ? m_playlists[playlist].get() : nullptr;
}

size_t PlaylistManager::indexOf(const Playlist* p) const {
    if (!p) return SIZE_MAX;
    for (size_t n = 0; n < m_playlists.size(); ++n)
        if (m_playlists[n].get() == p) return n;
    return SIZE_MAX;
}

std::vector<Playlist*> PlaylistManager::currentList() const {
    std::vector<Playlist*> out;
    out.reserve(m_playlists.size());
    for (const auto& p : m_playlists) out.push_back(p.get());
    return out;
}

bool PlaylistManager::lockAllows(Playlist& p, uint32_t filter,
                                 const std::function<bool(playlist_lock&)>& ask) {
    if (!p.lock) return true;
    // Our own reference: the lock may uninstall itself while it answers.
    const service_ptr_t<playlist_lock> lock = p.lock;
    if (!(lock->get_filter_mask() & filter)) return true;
    return ask(*lock);
}

// --- Playlists ---

size_t PlaylistManager::get_playlist_count() {
    assertMainThread();
    return m_playlists.size();
}

size_t PlaylistManager::get_active_playlist() {
    assertMainThread();
    return activeIndex();
}

void PlaylistManager::set_active_playlist(size_t playlist) {
    assertMainThread();
    Playlist* target = nullptr;
    if (playlist != SIZE_MAX && !(target = at(playlist))) return;
    if (target == m_active) return;
    const size_t old = activeIndex();
    m_active = target;
    markState();
    send(m_callbacks, CB::flag_on_playlist_activate,
         [old, playlist](CB& cb) { cb.on_playlist_activate(old, playlist); });
}

size_t PlaylistManager::create_playlist(const char* name, size_t name_len, size_t position) {
    assertMainThread();
    if (!name) return SIZE_MAX;
    auto created = std::make_unique<Playlist>();
    created->id = m_nextId++;
    created->name = makeName(name, name_len);
    const std::vector<Playlist*> before = currentList();
    const size_t activeBefore = activeIndex();
    position = std::min(position, m_playlists.size());
    Playlist& p = *created;
    m_playlists.insert(m_playlists.begin() + ptrdiff_t(position), std::move(created));
    markMeta(p);
    markPositions();
    send(m_callbacks, CB::flag_on_playlist_created,
         [position, text = p.name](CB& cb) { cb.on_playlist_created(position, text.c_str(), text.size()); });
    afterListChange(before, activeBefore);
    return position;
}

bool PlaylistManager::reorder_playlists(const size_t* order, size_t count) {
    assertMainThread();
    if (count != m_playlists.size() || !order_is_permutation(order, count)) return false;
    bool identity = true;
    for (size_t n = 0; n < count; ++n) identity = identity && order[n] == n;
    if (identity) return true;
    const std::vector<Playlist*> before = currentList();
    const size_t activeBefore = activeIndex();
    std::vector<std::unique_ptr<Playlist>> reordered(count);
    for (size_t n = 0; n < count; ++n) reordered[n] = std::move(m_playlists[order[n]]);
    m_playlists = std::move(reordered);
    markPositions();
    send(m_callbacks, CB::flag_on_playlists_reorder, [o = std::vector<size_t>(order, order + count)](CB& cb) {
        cb.on_playlists_reorder(o.data(), o.size());
    });
    afterListChange(before, activeBefore);
    return true;
}

bool PlaylistManager::remove_playlists(const bit_array& mask) {
    assertMainThread();
    std::vector<Playlist*> victims;
    const size_t count = m_playlists.size();
    for (size_t n = mask.find(true, 0, count); n < count; n = mask.find(true, n + 1, count))
        victims.push_back(m_playlists[n].get());
    if (victims.empty()) return false;

    for (Playlist* p : victims)
        // An earlier lock's answer may already have removed this one.
        if (indexOf(p) == SIZE_MAX || !lockAllows(*p, playlist_lock::filter_remove_playlist,
                                                  [](playlist_lock& l) { return l.query_playlist_remove(); }))
            return false;

    // Locks and listeners are foreign code: the list they leave must still be
    // the one the caller's mask was about.
    auto unchanged = [&] {
        if (m_playlists.size() != count) return false;
        for (Playlist* p : victims)
            if (indexOf(p) == SIZE_MAX || !mask.get(indexOf(p))) return false;
        return true;
    };
    if (!unchanged()) return false;
    const bit_array_bittable removed(mask, count);
    const size_t remaining = count - victims.size();
    send(m_callbacks, CB::flag_on_playlists_removing,
         [removed, count, remaining](CB& cb) { cb.on_playlists_removing(removed, count, remaining); });
    if (!unchanged()) return false;

    const std::vector<Playlist*> before = currentList();
    const size_t activeBefore = activeIndex();
    std::vector<std::unique_ptr<Playlist>> gone;
    std::vector<std::unique_ptr<Playlist>> kept;
    for (auto& p : m_playlists)
        (removed.get(gone.size() + kept.size()) ? gone : kept).push_back(std::move(p));
    m_playlists = std::move(kept);

    bool queueChanged = false;
    for (auto& p : gone) {
        if (m_active == p.get()) m_active = nullptr;
        queueChanged = dropPlaylistReferences(p.get()) || queueChanged;
        m_removedIds.push_back(p->id);
    }
    markPositions();
    markState();

    send(m_callbacks, CB::flag_on_playlists_removed,
         [removed, count, remaining](CB& cb) { cb.on_playlists_removed(removed, count, remaining); });
    // A lock learns its playlist is gone, then is released.
    for (auto& p : gone) {
        if (const service_ptr_t<playlist_lock> lock = std::move(p->lock)) lock->on_playlist_remove();
    }
    afterListChange(before, activeBefore);
    if (queueChanged) notifyQueue(playback_queue_callback::changed_user_removed);
    return true;
}

void PlaylistManager::afterListChange(const std::vector<Playlist*>& before, size_t activeBefore) {
    for (size_t old = 0; old < before.size(); ++old) {
        const size_t now = indexOf(before[old]);
        if (now == SIZE_MAX || now == old || !before[old]->lock) continue;
        const service_ptr_t<playlist_lock> lock = before[old]->lock;
        lock->on_playlist_index_change(now);
    }
    const size_t activeNow = activeIndex();
    // The active playlist's index moved: views keyed by it must follow.
    if (activeNow != activeBefore) {
        markState();
        send(m_callbacks, CB::flag_on_playlist_activate,
             [activeBefore, activeNow](CB& cb) { cb.on_playlist_activate(activeBefore, activeNow); });
    }
}

bool PlaylistManager::playlist_get_name(size_t playlist, cvk::string_base& out) {
    assertMainThread();
    out.reset();
    const Playlist* p = at(playlist);
    if (!p) return false;
    out.set_string(p->name.c_str(), p->name.size());
    return true;
}

bool PlaylistManager::playlist_rename(size_t playlist, const char* name, size_t name_len) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || !name) return false;
    const std::string text = makeName(name, name_len);
    if (!lockAllows(*p, playlist_lock::filter_rename,
                    [&](playlist_lock& l) { return l.query_playlist_rename(text.c_str(), text.size()); }))
        return false;
    playlist = indexOf(p);
    if (playlist == SIZE_MAX) return false;
    if (p->name == text) return true;
    p->name = text;
    markMeta(*p);
    send(m_callbacks, CB::flag_on_playlist_renamed,
         [playlist, text](CB& cb) { cb.on_playlist_renamed(playlist, text.c_str(), text.size()); });
    return true;
}

// --- Items ---

size_t PlaylistManager::playlist_get_item_count(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p ? p->items.size() : 0;
}

void PlaylistManager::playlist_get_items(size_t playlist, metadb_handle_list& out, const bit_array& mask) {
    assertMainThread();
    out.clear();
    const Playlist* p = at(playlist);
    if (!p) return;
    const size_t count = p->items.size();
    for (size_t n = mask.find(true, 0, count); n < count; n = mask.find(true, n + 1, count))
        out.push_back(p->items[n]);
}

service_ptr_t<metadb_handle> PlaylistManager::playlist_get_item_handle(size_t playlist, size_t item) {
    assertMainThread();
    const Playlist* p = at(playlist);
    if (!p || item >= p->items.size()) return {};
    return p->items[item];
}

size_t PlaylistManager::playlist_insert_items(size_t playlist, size_t base, const metadb_handle_list& data,
                                              const bit_array& selection) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p) return SIZE_MAX;
    // A null handle would reach every view that formats the playlist.
    metadb_handle_list items;
    items.reserve(data.size());
    bit_array_bittable selected(data.size());
    for (size_t n = 0; n < data.size(); ++n) {
        if (!data[n]) continue;
        if (selection.get(n)) selected.set(items.size(), true);
        items.push_back(data[n]);
    }
    selected.resize(items.size());
    const size_t count = p->items.size();
    base = std::min(base, count);
    if (items.empty()) return base;
    if (!lockAllows(*p, playlist_lock::filter_add,
                    [&](playlist_lock& l) { return l.query_items_add(base, items, selected); }))
        return SIZE_MAX;
    // The lock answered about this playlist as it was.
    if (indexOf(p) == SIZE_MAX || p->items.size() != count) return SIZE_MAX;
    insertChecked(*p, base, std::move(items), std::move(selected));
    return base;
}

void PlaylistManager::insertChecked(Playlist& p, size_t base, metadb_handle_list data,
                                    bit_array_bittable selection) {
    const size_t added = data.size();
    const size_t oldFocus = p.focus;
    p.items.insert(p.items.begin() + ptrdiff_t(base), data.begin(), data.end());
    insertBits(p.selection, base, added, selection);
    shiftItems(p, base, added);
    if (p.focus != SIZE_MAX && p.focus >= base) p.focus += added;
    keysInserted(p, base, added);
    markMeta(p);

    // Listeners may remove the playlist: nothing of it is read once they run.
    const size_t playlist = indexOf(&p);
    const size_t focus = p.focus;
    send(m_callbacks, CB::flag_on_items_added,
         [playlist, base, data = std::move(data), selection = std::move(selection)](CB& cb) {
             cb.on_items_added(playlist, base, data, selection);
         });
    announceFocus(playlist, oldFocus, focus);
}

void PlaylistManager::announceFocus(size_t playlist, size_t from, size_t to) {
    if (from == to) return;
    send(m_callbacks, CB::flag_on_item_focus_change,
         [playlist, from, to](CB& cb) { cb.on_item_focus_change(playlist, from, to); });
}

bool PlaylistManager::playlist_reorder_items(size_t playlist, const size_t* order, size_t count) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || count != p->items.size() || !order_is_permutation(order, count)) return false;
    bool identity = true;
    for (size_t n = 0; n < count && identity; ++n) identity = order[n] == n;
    if (identity) return true;
    if (!lockAllows(*p, playlist_lock::filter_reorder,
                    [&](playlist_lock& l) { return l.query_items_reorder(order, count); }))
        return false;
    if (indexOf(p) == SIZE_MAX || p->items.size() != count) return false;

    std::vector<size_t> newIndexOf(count);
    metadb_handle_list items(count);
    for (size_t n = 0; n < count; ++n) {
        items[n] = std::move(p->items[order[n]]);
        newIndexOf[order[n]] = n;
    }
    p->items = std::move(items);
    p->selection = permuteBits(p->selection, order, count);
    p->shuffle.reordered(order, count);
    remapItems(*p, newIndexOf);
    const size_t oldFocus = p->focus;
    if (p->focus != SIZE_MAX) p->focus = newIndexOf[p->focus];
    keysReordered(*p, order, count);
    markMeta(*p);

    playlist = indexOf(p);
    const size_t focus = p->focus;
    send(m_callbacks, CB::flag_on_items_reordered,
         [playlist, o = std::vector<size_t>(order, order + count)](CB& cb) {
             cb.on_items_reordered(playlist, o.data(), o.size());
         });
    announceFocus(playlist, oldFocus, focus);
    return true;
}

bool PlaylistManager::playlist_remove_items(size_t playlist, const bit_array& mask) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p) return false;
    const size_t count = p->items.size();
    const bit_array_bittable removed(mask, count);
    if (removed.find(true, 0, count) == count) return false;
    if (!lockAllows(*p, playlist_lock::filter_remove,
                    [&](playlist_lock& l) { return l.query_items_remove(removed, false); }))
        return false;
    if (indexOf(p) == SIZE_MAX || p->items.size() != count) return false;
    return removeChecked(*p, removed);
}

bool PlaylistManager::removeChecked(Playlist& p, const bit_array_bittable& mask) {
    const size_t oldCount = p.items.size();
    const size_t newCount = oldCount - mask.calc_count(true, 0, oldCount);
    const size_t playlist = indexOf(&p);
    send(m_callbacks, CB::flag_on_items_removing, [playlist, mask, oldCount, newCount](CB& cb) {
        cb.on_items_removing(playlist, mask, oldCount, newCount);
    });
    // A listener that edits the playlist while told of the removal makes the mask stale.
    if (indexOf(&p) != playlist || p.items.size() != oldCount) return false;

    const std::vector<size_t> map = removalMap(mask, oldCount);
    metadb_handle_list items;
    items.reserve(newCount);
    for (size_t n = 0; n < oldCount; ++n)
        if (map[n] != SIZE_MAX) items.push_back(std::move(p.items[n]));
    p.items = std::move(items);
    removeBits(p.selection, mask);

    // The playing item going away leaves its place behind, for next to continue from.
    size_t* rank = nullptr;
    if (m_cursor.playlist == &p) {
        const bool goes = !m_cursor.removed && m_cursor.item < oldCount && map[m_cursor.item] == SIZE_MAX;
        if (goes) m_cursor.rank = p.shuffle.covers(oldCount) ? p.shuffle.rankOf(m_cursor.item) : SIZE_MAX;
        if (goes || m_cursor.removed) rank = &m_cursor.rank;
    }
    p.shuffle.removed(mask, oldCount, rank);
    const bool queueChanged = remapItems(p, map);

    const size_t oldFocus = p.focus;
    if (p.focus != SIZE_MAX) {
        size_t next = p.focus;
        while (next < oldCount && map[next] == SIZE_MAX) ++next;
        p.focus = next < oldCount ? map[next] : (newCount ? newCount - 1 : SIZE_MAX);
    }
    keysRemoved(p, map);
    markMeta(p);

    const size_t focus = p.focus;
    send(m_callbacks, CB::flag_on_items_removed, [playlist, mask, oldCount, newCount](CB& cb) {
        cb.on_items_removed(playlist, mask, oldCount, newCount);
    });
    announceFocus(playlist, oldFocus, focus);
    if (queueChanged) notifyQueue(playback_queue_callback::changed_user_removed);
    return true;
}

bool PlaylistManager::playlist_replace_item(size_t playlist, size_t item,
                                            const service_ptr_t<metadb_handle>& track) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || !track || item >= p->items.size()) return false;
    const service_ptr_t<metadb_handle> old = p->items[item];
    if (!lockAllows(*p, playlist_lock::filter_replace,
                    [&](playlist_lock& l) { return l.query_item_replace(item, old, track); }))
        return false;
    if (indexOf(p) == SIZE_MAX || item >= p->items.size() || p->items[item] != old) return false;
    p->items[item] = track;
    for (QueueEntry& e : m_queue)
        if (e.playlist == p && e.item == item) e.track = track;
    keyReplaced(*p, item);

    playlist = indexOf(p);
    std::vector<CB::t_on_items_replaced_entry> entries{{item, old, track}};
    send(m_callbacks, CB::flag_on_items_replaced, [playlist, item, entries = std::move(entries)](CB& cb) {
        cb.on_items_replaced(playlist, bit_array_one(item), entries);
    });
    return true;
}

// --- Selection and focus ---

bit_array_bittable PlaylistManager::playlist_get_selection_mask(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p ? p->selection : bit_array_bittable();
}

bool PlaylistManager::playlist_is_item_selected(size_t playlist, size_t item) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p && p->selection.get(item);
}

void PlaylistManager::playlist_set_selection(size_t playlist, const bit_array& affected,
                                             const bit_array& state) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p) return;
    const size_t count = p->items.size();
    bit_array_bittable changed(count);
    bool any = false;
    for (size_t n = affected.find(true, 0, count); n < count; n = affected.find(true, n + 1, count)) {
        const bool want = state.get(n);
        if (want == p->selection.get(n)) continue;
        p->selection.set(n, want);
        changed.set(n, true);
        any = true;
    }
    // Only real changes are announced, so views that echo selections settle.
    if (!any) return;
    markMeta(*p);
    send(m_callbacks, CB::flag_on_items_selection_change,
         [playlist, changed = std::move(changed), state = p->selection](CB& cb) {
             cb.on_items_selection_change(playlist, changed, state);
         });
}

size_t PlaylistManager::playlist_get_focus_item(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p ? p->focus : SIZE_MAX;
}

void PlaylistManager::playlist_set_focus_item(size_t playlist, size_t item) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || (item != SIZE_MAX && item >= p->items.size())) return;
    setFocus(*p, item);
}

void PlaylistManager::setFocus(Playlist& p, size_t focus) {
    if (p.focus == focus) return;
    const size_t old = p.focus;
    p.focus = focus;
    markMeta(p);
    announceFocus(indexOf(&p), old, focus);
}

void PlaylistManager::playlist_ensure_visible(size_t playlist, size_t item) {
    assertMainThread();
    const Playlist* p = at(playlist);
    if (!p || item >= p->items.size()) return;
    send(m_callbacks, CB::flag_on_item_ensure_visible,
         [playlist, item](CB& cb) { cb.on_item_ensure_visible(playlist, item); });
}

// --- Undo ---

void PlaylistManager::playlist_undo_backup(size_t playlist) {
    assertMainThread();
    if (Playlist* p = at(playlist)) p->undo.backup(p->state());
}

bool PlaylistManager::playlist_undo_restore(size_t playlist) {
    assertMainThread();
    return restore(playlist, false);
}

bool PlaylistManager::playlist_redo_restore(size_t playlist) {
    assertMainThread();
    return restore(playlist, true);
}

bool PlaylistManager::playlist_is_undo_available(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p && p->undo.canUndo();
}

bool PlaylistManager::playlist_is_redo_available(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p && p->undo.canRedo();
}

bool PlaylistManager::restore(size_t playlist, bool redo) {
    Playlist* p = at(playlist);
    if (!p) return false;
    const PlaylistState* target = redo ? p->undo.peekRedo() : p->undo.peekUndo();
    if (!target) return false;

    // To a lock a restore is the removal of every item and the adding of the
    // stored ones; a lock that guards only the order or single items cannot be
    // asked about that, so it refuses.
    if (p->lock) {
        const service_ptr_t<playlist_lock> lock = p->lock;
        const uint32_t filter = lock->get_filter_mask();
        const uint32_t content = playlist_lock::filter_add | playlist_lock::filter_remove;
        const uint32_t other = playlist_lock::filter_reorder | playlist_lock::filter_replace;
        if ((filter & other) && !(filter & content)) return false;
        const metadb_handle_list items = target->items;
        const bit_array_bittable selection = target->selection;
        const size_t count = p->items.size();
        if ((filter & playlist_lock::filter_remove) && count > 0 &&
            !lock->query_items_remove(bit_array_bittable(count, true), false))
            return false;
        if ((filter & playlist_lock::filter_add) && !items.empty() &&
            !lock->query_items_add(0, items, selection))
            return false;
        if (indexOf(p) == SIZE_MAX) return false;
    }

    std::optional<PlaylistState> state = redo ? p->undo.redo(p->state()) : p->undo.undo(p->state());
    if (!state) return false;
    if (!p->items.empty() && !removeChecked(*p, bit_array_bittable(p->items.size(), true))) return false;
    if (indexOf(p) == SIZE_MAX) return false;
    const size_t base = p->items.size();
    state->selection.resize(state->items.size());
    if (!state->items.empty()) insertChecked(*p, base, std::move(state->items), std::move(state->selection));
    if (indexOf(p) == SIZE_MAX) return true;
    setFocus(*p, state->focus != SIZE_MAX && base + state->focus < p->items.size() ? base + state->focus
                                                                                   : SIZE_MAX);
    return true;
}

// --- Locks ---

bool PlaylistManager::playlist_lock_install(size_t playlist, const service_ptr_t<playlist_lock>& lock) {
    assertMainThread();
    Playlist* p = at(playlist);
    // Past shutdown the lock's module may be about to go.
    if (!p || !lock || p->lock || m_locksReleased) return false;
    p->lock = lock;
    send(m_callbacks, CB::flag_on_playlist_locked,
         [playlist](CB& cb) { cb.on_playlist_locked(playlist, true); });
    return true;
}

bool PlaylistManager::playlist_lock_uninstall(size_t playlist, const service_ptr_t<playlist_lock>& lock) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || !lock || p->lock.get_ptr() != lock.get_ptr()) return false;
    p->lock.release();
    send(m_callbacks, CB::flag_on_playlist_locked,
         [playlist](CB& cb) { cb.on_playlist_locked(playlist, false); });
    return true;
}

bool PlaylistManager::playlist_lock_is_present(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p && p->lock;
}

bool PlaylistManager::playlist_lock_query_name(size_t playlist, cvk::string_base& out) {
    assertMainThread();
    out.reset();
    const Playlist* p = at(playlist);
    if (!p || !p->lock) return false;
    const service_ptr_t<playlist_lock> lock = p->lock;
    lock->get_lock_name(out);
    return true;
}

bool PlaylistManager::playlist_lock_show_ui(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    if (!p || !p->lock) return false;
    const service_ptr_t<playlist_lock> lock = p->lock;
    lock->show_ui();
    return true;
}

uint32_t PlaylistManager::playlist_lock_get_filter_mask(size_t playlist) {
    assertMainThread();
    const Playlist* p = at(playlist);
    if (!p || !p->lock) return 0;
    const service_ptr_t<playlist_lock> lock = p->lock;
    return lock->get_filter_mask();
}

void PlaylistManager::releaseLocks() {
    assertMainThread();
    m_locksReleased = true;
    for (auto& p : m_playlists) p->lock.release();
}

// --- Callbacks ---

void PlaylistManager::register_callback(playlist_callback* callback, uint32_t flags) {
    assertMainThread();
    m_callbacks.add(callback, flags);
}

void PlaylistManager::modify_callback(playlist_callback* callback, uint32_t flags) {
    assertMainThread();
    m_callbacks.modify(callback, flags);
}

void PlaylistManager::unregister_callback(playlist_callback* callback) {
    assertMainThread();
    m_callbacks.remove(callback);
}

// --- Properties ---

bool PlaylistManager::playlist_set_property(size_t playlist, const GUID& property, const void* data,
                                            size_t size) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || (size > 0 && !data)) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::vector<uint8_t> value(bytes, bytes + size);
    auto it = p->properties.find(property);
    if (it != p->properties.end() && it->second == value) return true;
    p->properties[property] = std::move(value);
    markProperties(*p);
    return true;
}

bool PlaylistManager::playlist_get_property(size_t playlist, const GUID& property,
                                            std::vector<uint8_t>& out) {
    assertMainThread();
    out.clear();
    const Playlist* p = at(playlist);
    if (!p) return false;
    auto it = p->properties.find(property);
    if (it == p->properties.end()) return false;
    out = it->second;
    return true;
}

bool PlaylistManager::playlist_have_property(size_t playlist, const GUID& property) {
    assertMainThread();
    const Playlist* p = at(playlist);
    return p && p->properties.count(property) > 0;
}

bool PlaylistManager::playlist_remove_property(size_t playlist, const GUID& property) {
    assertMainThread();
    Playlist* p = at(playlist);
    if (!p || p->properties.erase(property) == 0) return false;
    markProperties(*p);
    return true;
}

}  // namespace playlists
