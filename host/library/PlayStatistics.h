#pragma once

// Play statistics of every track the host has met: play count, first and last
// played, when it was added, rating. Kept in one SQLite file of the profile
// (library.sqlite) and mirrored in memory, so that reading them never touches
// the disk.
//
// Every change is one committed transaction in WAL mode; a batch of additions is
// one transaction too. A damaged file is never deleted: it is moved to
// NAME.corrupt-TIMESTAMP (with its journal files), the console says so, and a
// fresh file starts. A file that can be read but not written is read and left
// as it is; then, as when nothing works, the statistics live in memory for the
// session.
//
// Threads: any; one connection behind one mutex.

#include "SqliteFile.h"
#include "TrackKey.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <unordered_map>
#include <vector>

struct sqlite3;
class Console;

namespace library {

struct PlayStats {
    uint32_t playCount = 0;
    int64_t firstPlayed = 0;  // Unix seconds; 0 = never
    int64_t lastPlayed = 0;
    int64_t added = 0;
    uint32_t rating = 0;  // 1 to 5; 0 = unrated

    friend bool operator==(const PlayStats&, const PlayStats&) = default;
};

class PlayStatistics {
public:
    static constexpr uint32_t kMaxRating = 5;

    // Memory only.
    explicit PlayStatistics(Console& console);
    PlayStatistics(const std::filesystem::path& file, Console& console);
    ~PlayStatistics();
    PlayStatistics(const PlayStatistics&) = delete;
    PlayStatistics& operator=(const PlayStatistics&) = delete;

    PlayStats get(const TrackKey& key) const;

    // One more play, now; sets first played (and added) when still unset.
    PlayStats played(const TrackKey& key, int64_t now);
    // 0 clears; values above kMaxRating are refused (false, nothing changes).
    // `after`, when given, receives the new statistics of each key.
    bool setRating(const std::vector<TrackKey>& keys, uint32_t rating,
                   std::vector<PlayStats>* after = nullptr);
    // Sets `added` to `now` where it is still unset. Returns the indices into
    // `keys` that changed.
    std::vector<size_t> markAdded(const std::vector<TrackKey>& keys, int64_t now);

    bool isPersistent() const { return m_db != nullptr; }
    // Where an unusable file was moved this session; empty when none was.
    const std::filesystem::path& movedAside() const { return m_movedAside; }

private:
    using Opened = SqliteFile::OpenResult;

    Opened open(const std::filesystem::path& file, std::string& why);
    void close();
    bool moveAside(const std::filesystem::path& file);
    bool loadAll();
    // Writes the rows of `keys` in one transaction; false (console line) on failure.
    bool save(const std::vector<const TrackKey*>& keys);
    void report(const std::string& what) const;

    Console& m_console;
    const std::filesystem::path m_file;
    mutable std::mutex m_mutex;
    sqlite3* m_db = nullptr;
    std::unordered_map<TrackKey, PlayStats, TrackKeyHash> m_stats;
    std::filesystem::path m_movedAside;
    bool m_saveFailing = false;
};

}  // namespace library
