#pragma once

// Integer and text values by name, in one SQLite file of the profile.
//
// Every write is its own committed transaction in WAL mode with full syncing,
// so a value is on disk when the call returns and a crash loses nothing that
// was set. A damaged file is never deleted: it is renamed to
// NAME.corrupt-TIMESTAMP (with its journal files) and a fresh store starts. A
// file that can be read but not written (read-only profile, full disk) is
// left untouched: the session starts from a copy of it in memory.
//
// Threads: any; one connection behind one mutex.

#include <cstdint>
#include "SqliteFile.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;
class Console;

class ConfigStore {
public:
    // Never fails: when the file cannot be written, values live in memory for
    // this session and the console says so.
    ConfigStore(const std::filesystem::path& file, Console& console);
    ~ConfigStore();
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    // A value stored with the other type reads as absent.
    std::optional<int64_t> getInt(const std::string& name);
    std::optional<std::string> getString(const std::string& name);
    void setInt(const std::string& name, int64_t value);
    void setString(const std::string& name, const std::string& value);
    void remove(const std::string& name);

    // False when the session fell back to memory.
    bool isPersistent() const { return m_persistent; }
    // Where an unusable file was moved this session; empty when none was.
    const std::filesystem::path& movedAside() const { return m_movedAside; }

private:
    using OpenResult = SqliteFile::OpenResult;

    OpenResult open(const std::string& target, std::string* why = nullptr);
    bool copyToMemory();
    void close();
    bool moveAside();
    bool exec(const char* sql);
    bool step(sqlite3_stmt* stmt, const std::string& name);
    void report(const std::string& what);

    const std::filesystem::path m_file;
    Console& m_console;
    std::mutex m_mutex;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_get = nullptr;
    sqlite3_stmt* m_set = nullptr;
    sqlite3_stmt* m_delete = nullptr;
    bool m_persistent = false;
    bool m_saveFailing = false;
    std::filesystem::path m_movedAside;
};
