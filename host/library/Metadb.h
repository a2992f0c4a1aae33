#pragma once

// Every track handle of the process, one per location for as long as anyone
// holds it (a weak map: the last release removes the entry), and the play
// statistics behind them.
//
// Threads: handleFor and handleCount from any thread. reload, the statistics
// calls and the observer run on the main thread, where the playback engine, the
// library and the context menu make them.
// Ownership: the one instance lives until the process ends, so that handles
// kept by static objects can still find it.

#include "metadb_handle.h"
#include "PlayStatistics.h"
#include "TrackKey.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace library {

class TrackHandle;

class Metadb {
public:
    using ModifiedObserver = std::function<void(const metadb_handle_list& tracks)>;

    static Metadb& instance();

    // `location`: "file://" + path, or a native path (made absolute). Any other
    // scheme ("http://...") is kept as it is; such a track has no info.
    static TrackKey keyFor(std::string_view location, uint32_t subsong = 0);
    // The handle of the location, made now unless someone still holds it.
    service_ptr_t<metadb_handle> handleFor(std::string_view location, uint32_t subsong = 0);
    service_ptr_t<metadb_handle> handleFor(const playable_location& location) {
        return handleFor(location.path, location.subsong);
    }
    size_t handleCount() const;

    // Re-reads the files of `tracks` (they changed on disk); tracks that can
    // no longer be read keep their location and lose their info. Tells the
    // observer.
    void reload(const metadb_handle_list& tracks);

    // Statistics live in memory until a file is opened; opening replaces what
    // the memory held by the file's contents, closing goes back to memory.
    void openStatistics(const std::filesystem::path& file);
    void closeStatistics();
    PlayStats statistics(const metadb_handle_ptr& track) const;

    // The track played past the host's threshold: one more play, now.
    void trackPlayed(const metadb_handle_ptr& track);
    // 0 clears; above PlayStatistics::kMaxRating is refused (false).
    bool setRating(const metadb_handle_list& tracks, uint32_t rating);
    // The tracks entered the library or a playlist: `added` becomes now where it
    // is still unset.
    void noteAdded(const metadb_handle_list& tracks);

    // Told, on the main thread, of tracks whose info or statistics changed (for
    // the playlists to announce them).
    void setModifiedObserver(ModifiedObserver observer);

private:
    friend class TrackHandle;
    Metadb();

    static TrackKey keyOf(const metadb_handle_ptr& track);
    std::shared_ptr<PlayStatistics> stats() const;
    PlayStats statsFor(const TrackKey& key) const { return stats()->get(key); }
    void destroy(TrackHandle* handle);
    // The live handle of `key` with a reference taken, or null.
    TrackHandle* liveHandle(const TrackKey& key);
    void applyStats(const TrackKey& key, const PlayStats& stats);
    void notifyModified(const metadb_handle_list& tracks);

    mutable std::mutex m_mapMutex;
    std::unordered_map<TrackKey, TrackHandle*, TrackKeyHash> m_handles;

    mutable std::mutex m_statsMutex;
    std::shared_ptr<PlayStatistics> m_stats;

    std::mutex m_observerMutex;
    ModifiedObserver m_observer;
};

}  // namespace library
