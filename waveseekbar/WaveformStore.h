#pragma once

// Complete summaries kept across restarts, below the memory cache: one SQLite
// file, bounded in size, least recently used out. A row holds only for the
// file size and modification time it was scanned from, so a changed file is
// scanned again.
//
// Threads: any; one connection behind a mutex. Nothing touches the disk before
// the first load or save, so creating the store on the main thread is free.
// Failure: never fatal. A damaged file is moved aside (one console line) and
// the store starts afresh; one that can only be read is read; one that cannot
// be used at all finds nothing. A run of failed writes (a full disk) costs one
// line, and the rows already kept stay.

#include "SqliteFile.h"
#include "Waveform.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace wave {

// What tells a file's contents apart without reading them.
struct FileStamp {
    uint64_t size = 0;
    int64_t modified = 0;  // nanoseconds of the file clock
    bool operator==(const FileStamp&) const = default;
};

// Only for "file://" locations naming an existing file.
std::optional<FileStamp> stampOf(std::string_view location);

class WaveformStore {
public:
    // `limitBytes` bounds the pages the rows occupy.
    WaveformStore(std::filesystem::path file, uint64_t limitBytes);
    ~WaveformStore();
    WaveformStore(const WaveformStore&) = delete;
    WaveformStore& operator=(const WaveformStore&) = delete;

    // The complete summary kept for `key` scanned from `stamp`; null when there
    // is none.
    std::shared_ptr<const Waveform> load(const std::string& key, const FileStamp& stamp);
    // Makes `key` the most recently used. Apart from `load`, because it
    // rewrites the row: done once the summary is on its way.
    void markUsed(const std::string& key);
    // Keeps `summary` (complete ones only) and evicts beyond the limit.
    void save(const std::string& key, const FileStamp& stamp, const Waveform& summary);

private:
    // Opens on first use; false while the store cannot be used.
    bool ready();
    // `why` receives what the user should hear when it is not Ok.
    SqliteFile::OpenResult open(std::string& why);
    void close();
    // Moves the file aside; when it cannot be moved the store is switched off.
    bool setAside();
    void disable(const std::string& why);
    // After a failed step: a damaged file goes aside, to start afresh next
    // time; anything else is said once.
    void failed(int rc);
    int64_t bytesInUse();
    void report(const std::string& what);

    const std::filesystem::path m_file;
    const uint64_t m_limit;
    std::mutex m_mutex;
    sqlite3* m_db = nullptr;
    bool m_disabled = false;
    bool m_readOnly = false;
    bool m_failing = false;
    sqlite3_stmt* m_select = nullptr;
    sqlite3_stmt* m_touch = nullptr;
    sqlite3_stmt* m_upsert = nullptr;
    sqlite3_stmt* m_evict = nullptr;
    sqlite3_stmt* m_usage = nullptr;
};

}  // namespace wave
