#pragma once

// The host's playlists: what playlist_manager_v2 promises, plus what only the
// host itself calls (storage, the playback engine's position, shutdown).
//
// Life cycle, as the host drives it:
//   open(file, ...)      before any component loads: playlists come back, so
//                        components' start-up hooks find their properties
//   ... running ...      every change marks the file dirty and asks the
//                        scheduler once; the host then calls flush() on its
//                        next main-loop turn, so a burst is one transaction
//   releaseLocks()       after the components' quit hooks, before their
//                        services go: lock code lives in their modules
//   close()              last write, file closed
//
// Threads: main thread only (checked in debug builds), like the interface.

#include "playback_queue_callback.h"
#include "PlaybackOrder.h"
#include "playlist_manager.h"
#include "PlaylistCallbacks.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace playlists {

class PlaylistStore;
struct Playlist;
struct QueueEntry;

// A track the playback engine should play; `playlist` and `item` are SIZE_MAX
// for one queued on its own.
struct PlaybackTarget {
    service_ptr_t<metadb_handle> track;
    size_t playlist = SIZE_MAX;
    size_t item = SIZE_MAX;
};

class PlaylistManager : public playlist_manager_v2 {
public:
    using TrackFactory = std::function<service_ptr_t<metadb_handle>(const playable_location&)>;
    using Print = std::function<void(const std::string&)>;
    // Starts playing the item; false when it cannot.
    using PlayItem = std::function<bool(size_t playlist, size_t item)>;

    PlaylistManager();
    ~PlaylistManager();

    // --- Host side ---

    // Loads what the file holds (replacing any playlists), then keeps it up
    // to date. Announces nothing: call before anyone listens.
    void open(const std::filesystem::path& file, TrackFactory makeTrack, Print print);
    // Called when a change arrives and no flush is pending.
    void setFlushScheduler(std::function<void()> schedule) { m_scheduleFlush = std::move(schedule); }
    // Writes every change since the last flush in one transaction. False when
    // the write failed: the changes stay pending, for the next change's flush
    // or close() to try again.
    bool flush();
    void close();
    bool hasUnsavedChanges() const { return m_dirty; }

    void setPlayItem(PlayItem play) { m_playItem = std::move(play); }
    void setGroupKey(GroupKeyFn key) { m_order.setGroupKey(std::move(key)); }
    // Fixed random draws, for tests.
    void seedRandom(uint64_t seed) { m_order.random().seed(seed); }

    // The engine tells where the track now playing came from; SIZE_MAX for a
    // track from no playlist (the next one continues from the last position).
    void setPlayingLocation(size_t playlist, size_t item);
    // Stopped: nothing is reported as playing; next still continues from there.
    void clearPlayingLocation();

    // What to play after the current track, the playback queue first (its entry
    // is taken off the queue). `manual`: the user asked, rather than the track
    // ending. Nothing: stop.
    std::optional<PlaybackTarget> nextTrack(bool manual);
    std::optional<PlaybackTarget> previousTrack();
    // Any item of the active playlist other than the playing one.
    std::optional<PlaybackTarget> randomTrack();

    // Track info changed (tags, statistics): the playlists holding them say so.
    void notifyTracksModified(const metadb_handle_list& tracks);
    void notifyTracksModifiedFromPlayback(const metadb_handle_list& tracks,
                                          playback_control::t_display_level level);

    // Drops every lock without calling into it, and refuses new ones from now on.
    void releaseLocks();

    // --- playlist_manager ---
    size_t get_playlist_count() override;
    size_t get_active_playlist() override;
    void set_active_playlist(size_t playlist) override;
    size_t create_playlist(const char* name, size_t name_len, size_t position) override;
    bool reorder_playlists(const size_t* order, size_t count) override;
    bool remove_playlists(const bit_array& mask) override;
    bool playlist_get_name(size_t playlist, cvk::string_base& out) override;
    bool playlist_rename(size_t playlist, const char* name, size_t name_len) override;

    size_t playlist_get_item_count(size_t playlist) override;
    void playlist_get_items(size_t playlist, metadb_handle_list& out, const bit_array& mask) override;
    service_ptr_t<metadb_handle> playlist_get_item_handle(size_t playlist, size_t item) override;
    size_t playlist_insert_items(size_t playlist, size_t base, const metadb_handle_list& data,
                                 const bit_array& selection) override;
    bool playlist_reorder_items(size_t playlist, const size_t* order, size_t count) override;
    bool playlist_remove_items(size_t playlist, const bit_array& mask) override;
    bool playlist_replace_item(size_t playlist, size_t item,
                               const service_ptr_t<metadb_handle>& track) override;

    bit_array_bittable playlist_get_selection_mask(size_t playlist) override;
    bool playlist_is_item_selected(size_t playlist, size_t item) override;
    void playlist_set_selection(size_t playlist, const bit_array& affected, const bit_array& state) override;
    size_t playlist_get_focus_item(size_t playlist) override;
    void playlist_set_focus_item(size_t playlist, size_t item) override;
    void playlist_ensure_visible(size_t playlist, size_t item) override;
    bool playlist_execute_default_action(size_t playlist, size_t item) override;
    bool get_playing_item_location(size_t& playlist, size_t& item) override;

    void playlist_undo_backup(size_t playlist) override;
    bool playlist_undo_restore(size_t playlist) override;
    bool playlist_redo_restore(size_t playlist) override;
    bool playlist_is_undo_available(size_t playlist) override;
    bool playlist_is_redo_available(size_t playlist) override;

    void queue_add_item_playlist(size_t playlist, size_t item) override;
    void queue_add_item(const service_ptr_t<metadb_handle>& track) override;
    void queue_remove_mask(const bit_array& mask) override;
    void queue_flush() override;
    size_t queue_get_count() override;
    void queue_get_contents(std::vector<t_playback_queue_item>& out) override;

    size_t playback_order_get_count() override;
    const char* playback_order_get_name(size_t index) override;
    size_t playback_order_get_active() override;
    void playback_order_set_active(size_t index) override;

    bool playlist_lock_install(size_t playlist, const service_ptr_t<playlist_lock>& lock) override;
    bool playlist_lock_uninstall(size_t playlist, const service_ptr_t<playlist_lock>& lock) override;
    bool playlist_lock_is_present(size_t playlist) override;
    bool playlist_lock_query_name(size_t playlist, cvk::string_base& out) override;
    bool playlist_lock_show_ui(size_t playlist) override;
    uint32_t playlist_lock_get_filter_mask(size_t playlist) override;

    void register_callback(playlist_callback* callback, uint32_t flags) override;
    void modify_callback(playlist_callback* callback, uint32_t flags) override;
    void unregister_callback(playlist_callback* callback) override;

    // --- playlist_manager_v2 ---
    bool playlist_set_property(size_t playlist, const GUID& property, const void* data, size_t size) override;
    bool playlist_get_property(size_t playlist, const GUID& property, std::vector<uint8_t>& out) override;
    bool playlist_have_property(size_t playlist, const GUID& property) override;
    bool playlist_remove_property(size_t playlist, const GUID& property) override;

private:
    // Where the order continues from; reported as playing only while `shown`.
    struct Cursor {
        Playlist* playlist = nullptr;
        size_t item = SIZE_MAX;
        bool removed = false;  // see OrderCursor
        size_t rank = SIZE_MAX;
        bool shown = false;
    };

    void assertMainThread() const;
    Playlist* at(size_t playlist) const;
    size_t indexOf(const Playlist* p) const;
    size_t activeIndex() const { return indexOf(m_active); }
    std::vector<Playlist*> currentList() const;

    // Locks: true when the playlist's lock (if its mask has `filter`) allows.
    bool lockAllows(Playlist& p, uint32_t filter, const std::function<bool(playlist_lock&)>& ask);

    // Edits carried out after every check; each announces itself.
    void insertChecked(Playlist& p, size_t base, metadb_handle_list data, bit_array_bittable selection);
    // False when a listener changed the playlist while told of the removal.
    bool removeChecked(Playlist& p, const bit_array_bittable& mask);
    bool restore(size_t playlist, bool redo);

    // After a structural change of the playlist list.
    void afterListChange(const std::vector<Playlist*>& before, size_t activeBefore);
    void setFocus(Playlist& p, size_t focus);
    void announceFocus(size_t playlist, size_t from, size_t to);

    // Items moved: queue entries and the playing position follow. `map` gives
    // old -> new index, SIZE_MAX for a removed item. True when queue entries
    // went with removed items.
    bool remapItems(Playlist& p, const std::vector<size_t>& map);
    void shiftItems(Playlist& p, size_t base, size_t count);
    bool dropPlaylistReferences(const Playlist* p);

    void notifyQueue(playback_queue_callback::t_change_origin origin);
    std::optional<PlaybackTarget> orderStep(bool next, bool manual);
    OrderCursor cursorFor(const Playlist& p) const;
    void markModified(const metadb_handle_list& tracks, bool fromPlayback,
                      playback_control::t_display_level level);

    // Storage.
    void markDirty();
    void markMeta(Playlist& p);
    // Item edits as the file sees them; each is called once the items changed.
    void keysInserted(Playlist& p, size_t base, size_t count);
    void keysRemoved(Playlist& p, const std::vector<size_t>& map);
    void keysReordered(Playlist& p, const size_t* order, size_t count);
    void keyReplaced(Playlist& p, size_t item);
    void rewriteItems(Playlist& p);
    // Items [from, end) have fresh keys that the file lacks.
    void claimGap(Playlist& p, size_t from, size_t end);
    void markProperties(Playlist& p);
    void markPositions();
    void markState();
    void markAllForRewrite();
    bool writeAll();

    std::thread::id m_thread;
    std::vector<std::unique_ptr<Playlist>> m_playlists;
    Playlist* m_active = nullptr;
    PlaylistCallbacks m_callbacks;
    std::vector<QueueEntry> m_queue;
    size_t m_orderIndex = 0;
    PlaybackOrder m_order;
    Cursor m_cursor;
    PlayItem m_playItem;
    bool m_locksReleased = false;

    TrackFactory m_makeTrack;
    Print m_print;
    std::unique_ptr<PlaylistStore> m_store;
    std::function<void()> m_scheduleFlush;
    std::vector<int64_t> m_removedIds;
    bool m_positionsDirty = false;
    bool m_stateDirty = false;  // the active playlist, the playback order
    bool m_dirty = false;
    bool m_flushRequested = false;
    int64_t m_nextId = 1;
};

}  // namespace playlists
