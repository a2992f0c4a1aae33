#pragma once

// The playlists on disk: one SQLite file in WAL mode with full syncing, so a
// committed write survives a crash. A damaged file is never deleted: it is
// renamed to NAME.corrupt-TIMESTAMP (with its journal files), the console says
// so, and a fresh file starts. A file that can be read but not written, or that
// a newer version wrote, is left as it is: nothing is saved this session.
//
// Schema (user_version 1):
//   playlists(id PK, position, name, focus NULL = none, selection BLOB: bit n of
//             byte n/8 is item n)
//   items(playlist, position, path, subsong)      PK (playlist, position);
//             position only orders: gaps between items leave room, so an
//             insert or a removal touches just its own rows
//   properties(playlist, guid TEXT, value BLOB)   PK (playlist, guid)
//   state(key PK, value): 'active' = id of the active playlist, 'order' = index
//
// Threads: main thread.

#include "guid.h"
#include "metadb_handle.h"

#include <cstdint>
#include "SqliteFile.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace playlists {

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const;
};
using PropertyMap = std::map<GUID, std::vector<uint8_t>, GuidLess>;

std::string guidToText(const GUID& g);
bool guidFromText(const std::string& text, GUID& out);

class PlaylistStore {
public:
    using Print = std::function<void(const std::string&)>;

    struct StoredPlaylist {
        int64_t id = 0;
        std::string name;
        std::vector<playable_location> items;
        std::vector<int64_t> keys;  // each item's position
        std::vector<uint8_t> selection;
        size_t focus = SIZE_MAX;
        PropertyMap properties;
    };
    struct Contents {
        std::vector<StoredPlaylist> playlists;  // in order
        int64_t activeId = -1;                  // -1: none
        size_t order = 0;
    };

    // Never fails: when the file cannot be written, nothing is kept this
    // session and the console says so.
    PlaylistStore(const std::filesystem::path& file, Print print);
    ~PlaylistStore();
    PlaylistStore(const PlaylistStore&) = delete;
    PlaylistStore& operator=(const PlaylistStore&) = delete;

    bool isPersistent() const { return m_db != nullptr; }
    const std::filesystem::path& movedAside() const { return m_movedAside; }

    // What the file held at opening; empty for a fresh one. Moves it out.
    Contents takeContents() { return std::move(m_contents); }

    // Writes between begin() and commit() are one transaction; any failure
    // makes commit() roll back and return false.
    bool begin();
    bool commit();
    void rollback();

    void writePlaylist(int64_t id, size_t position, const std::string& name, size_t focus,
                       const std::vector<uint8_t>& selection);
    void deletePlaylist(int64_t id);
    void deleteItems(int64_t id);
    void deleteItem(int64_t id, int64_t key);
    void putItem(int64_t id, int64_t key, const metadb_handle& track);
    void replaceProperties(int64_t id, const PropertyMap& properties);
    void writeState(int64_t activeId, size_t order);

    // After a commit failed because the file turned out damaged: moves it aside
    // and starts a fresh one. The caller then writes everything again.
    bool lastFailureWasCorruption() const { return m_corrupt; }
    bool recreate();

private:
    using OpenResult = SqliteFile::OpenResult;

    OpenResult open(std::string& why);
    // SQLITE_OK, or the code that stopped the reading.
    int load();
    void close();
    bool moveAside();
    void say(const std::string& line) const;
    bool exec(const char* sql);
    bool run(sqlite3_stmt* stmt);
    // `error`: what went wrong, for a person.
    void fail(int rc, const std::string& error);

    const std::filesystem::path m_file;
    Print m_print;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_putPlaylist = nullptr;
    sqlite3_stmt* m_dropPlaylist = nullptr;
    sqlite3_stmt* m_dropItems = nullptr;
    sqlite3_stmt* m_dropItem = nullptr;
    sqlite3_stmt* m_putItem = nullptr;
    sqlite3_stmt* m_dropProperties = nullptr;
    sqlite3_stmt* m_putProperty = nullptr;
    sqlite3_stmt* m_putState = nullptr;
    Contents m_contents;
    std::filesystem::path m_movedAside;
    bool m_failed = false;
    bool m_saveFailing = false;
    bool m_corrupt = false;
};

}  // namespace playlists
