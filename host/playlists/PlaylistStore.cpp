#include "PlaylistStore.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace playlists {

namespace {

constexpr int kSchemaVersion = 1;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS playlists("
    " id INTEGER PRIMARY KEY, position INTEGER NOT NULL, name TEXT NOT NULL,"
    " focus INTEGER, selection BLOB NOT NULL);"
    "CREATE TABLE IF NOT EXISTS items("
    " playlist INTEGER NOT NULL, position INTEGER NOT NULL, path TEXT NOT NULL,"
    " subsong INTEGER NOT NULL, PRIMARY KEY(playlist, position)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS properties("
    " playlist INTEGER NOT NULL, guid TEXT NOT NULL, value BLOB NOT NULL,"
    " PRIMARY KEY(playlist, guid)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS state(key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID;";

bool isCorruption(int rc) {
    rc &= 0xff;
    return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB;
}

std::string columnText(sqlite3_stmt* s, int col) {
    const auto* text = sqlite3_column_text(s, col);
    return text ? std::string(reinterpret_cast<const char*>(text), size_t(sqlite3_column_bytes(s, col)))
                : std::string();
}

// An empty value is still a value: a null pointer would bind NULL.
void bindBlob(sqlite3_stmt* s, int col, const std::vector<uint8_t>& data) {
    if (data.empty())
        sqlite3_bind_zeroblob(s, col, 0);
    else
        sqlite3_bind_blob(s, col, data.data(), int(data.size()), SQLITE_STATIC);
}

std::vector<uint8_t> columnBlob(sqlite3_stmt* s, int col) {
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(s, col));
    return data ? std::vector<uint8_t>(data, data + sqlite3_column_bytes(s, col)) : std::vector<uint8_t>();
}

}  // namespace

bool GuidLess::operator()(const GUID& a, const GUID& b) const {
    if (a.Data1 != b.Data1) return a.Data1 < b.Data1;
    if (a.Data2 != b.Data2) return a.Data2 < b.Data2;
    if (a.Data3 != b.Data3) return a.Data3 < b.Data3;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return a.Data4[i] < b.Data4[i];
    return false;
}

std::string guidToText(const GUID& g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", unsigned(g.Data1),
                  unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                  g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

bool guidFromText(const std::string& text, GUID& out) {
    if (text.size() != 36) return false;
    unsigned d1, d2, d3, b[8];
    int used = 0;
    if (std::sscanf(text.c_str(), "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x%n", &d1, &d2, &d3, &b[0], &b[1],
                    &b[2], &b[3], &b[4], &b[5], &b[6], &b[7], &used) != 11 ||
        used != 36)
        return false;
    out.Data1 = d1;
    out.Data2 = uint16_t(d2);
    out.Data3 = uint16_t(d3);
    for (int i = 0; i < 8; ++i) out.Data4[i] = uint8_t(b[i]);
    return true;
}

PlaylistStore::PlaylistStore(const fs::path& file, Print print) : m_file(file), m_print(std::move(print)) {
    std::string why;
    OpenResult r = open(why);
    if (r == OpenResult::Unusable) {
        close();
        m_contents = {};
        if (moveAside()) r = open(why);
    }
    if (r == OpenResult::Ok) {
        if (!why.empty()) say(why + "; starting with no playlists");
        return;
    }
    // Read or not, the file is left as it is.
    close();
    if (r == OpenResult::ReadOnly)
        say("changes to playlists will not be kept: " + why);
    else
        say("changes of this session will not be kept: cannot use " + m_file.string() +
            (why.empty() ? "" : ": " + why));
}

PlaylistStore::~PlaylistStore() { close(); }

PlaylistStore::OpenResult PlaylistStore::open(std::string& why) {
    std::error_code ec;
    if (m_file.has_parent_path()) fs::create_directories(m_file.parent_path(), ec);
    const OpenResult r = SqliteFile::open(m_file.string(), m_db, &why);
    if (r == OpenResult::ReadOnly) {
        const int rc = load();
        return rc == SQLITE_OK ? r : SqliteFile::failure(rc);
    }
    if (r != OpenResult::Ok) return r;
    auto failed = [&](int rc) {
        why = m_file.string() + ": " + SqliteFile::errorText(m_db, rc);
        return SqliteFile::failure(rc);
    };

    sqlite3_stmt* s = nullptr;
    int version = 0;
    if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
        version = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
    // A newer layout is not ours to rewrite, nor is it damaged.
    if (version > kSchemaVersion) {
        why = m_file.string() + " was written by a newer version (layout " + std::to_string(version) + ")";
        return OpenResult::Refused;
    }
    if (!exec(kSchema)) return failed(sqlite3_errcode(m_db));
    if (version < kSchemaVersion && !exec("PRAGMA user_version=1")) return failed(sqlite3_errcode(m_db));
    struct {
        sqlite3_stmt** stmt;
        const char* sql;
    } const statements[] = {
        {&m_putPlaylist,
         "INSERT INTO playlists(id, position, name, focus, selection) VALUES(?1, ?2, ?3, ?4, ?5) "
         "ON CONFLICT(id) DO UPDATE SET position=excluded.position, name=excluded.name, "
         "focus=excluded.focus, selection=excluded.selection"},
        {&m_dropPlaylist, "DELETE FROM playlists WHERE id=?1"},
        {&m_dropItems, "DELETE FROM items WHERE playlist=?1"},
        {&m_dropItem, "DELETE FROM items WHERE playlist=?1 AND position=?2"},
        // REPLACE: a row the bookkeeping missed must not block every later save.
        {&m_putItem,
         "INSERT OR REPLACE INTO items(playlist, position, path, subsong) VALUES(?1, ?2, ?3, ?4)"},
        {&m_dropProperties, "DELETE FROM properties WHERE playlist=?1"},
        {&m_putProperty, "INSERT INTO properties(playlist, guid, value) VALUES(?1, ?2, ?3)"},
        {&m_putState,
         "INSERT INTO state(key, value) VALUES(?1, ?2) ON CONFLICT(key) DO UPDATE SET value=excluded.value"},
    };
    for (const auto& st : statements)
        if (const int rc = sqlite3_prepare_v3(m_db, st.sql, -1, SQLITE_PREPARE_PERSISTENT, st.stmt, nullptr))
            return failed(rc);
    if (const int rc = load()) return failed(rc);
    return OpenResult::Ok;
}

int PlaylistStore::load() {
    Contents out;
    std::map<int64_t, size_t> index;
    sqlite3_stmt* s = nullptr;
    // SQLITE_OK after the last row, else the code that stopped the reading.
    auto finish = [&](int rc) {
        sqlite3_finalize(s);
        s = nullptr;
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    };

    int rc = sqlite3_prepare_v2(
        m_db, "SELECT id, name, focus, selection FROM playlists ORDER BY position, id", -1, &s, nullptr);
    if (rc != SQLITE_OK) return finish(rc);
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        StoredPlaylist p;
        p.id = sqlite3_column_int64(s, 0);
        p.name = columnText(s, 1);
        if (sqlite3_column_type(s, 2) == SQLITE_INTEGER && sqlite3_column_int64(s, 2) >= 0)
            p.focus = size_t(sqlite3_column_int64(s, 2));
        p.selection = columnBlob(s, 3);
        index[p.id] = out.playlists.size();
        out.playlists.push_back(std::move(p));
    }
    if ((rc = finish(rc))) return rc;

    rc = sqlite3_prepare_v2(m_db,
                            "SELECT playlist, path, subsong, position FROM items ORDER BY playlist, position",
                            -1, &s, nullptr);
    if (rc != SQLITE_OK) return finish(rc);
    StoredPlaylist* current = nullptr;
    int64_t currentId = 0;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        const int64_t id = sqlite3_column_int64(s, 0);
        if (!current || id != currentId) {
            auto it = index.find(id);
            current = it == index.end() ? nullptr : &out.playlists[it->second];
            currentId = id;
        }
        if (!current) continue;  // left behind by an older removal
        current->items.push_back({columnText(s, 1), uint32_t(sqlite3_column_int64(s, 2))});
        current->keys.push_back(sqlite3_column_int64(s, 3));
    }
    if ((rc = finish(rc))) return rc;

    rc = sqlite3_prepare_v2(m_db, "SELECT playlist, guid, value FROM properties", -1, &s, nullptr);
    if (rc != SQLITE_OK) return finish(rc);
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        auto it = index.find(sqlite3_column_int64(s, 0));
        GUID guid;
        if (it == index.end() || !guidFromText(columnText(s, 1), guid)) continue;
        out.playlists[it->second].properties[guid] = columnBlob(s, 2);
    }
    if ((rc = finish(rc))) return rc;

    rc = sqlite3_prepare_v2(m_db, "SELECT key, value FROM state", -1, &s, nullptr);
    if (rc != SQLITE_OK) return finish(rc);
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        const std::string key = columnText(s, 0);
        const int64_t value = sqlite3_column_int64(s, 1);
        if (key == "active") out.activeId = value;
        if (key == "order" && value >= 0) out.order = size_t(value);
    }
    if ((rc = finish(rc))) return rc;
    m_contents = std::move(out);
    return SQLITE_OK;
}

void PlaylistStore::close() {
    for (sqlite3_stmt** s : {&m_putPlaylist, &m_dropPlaylist, &m_dropItems, &m_dropItem, &m_putItem,
                             &m_dropProperties, &m_putProperty, &m_putState}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool PlaylistStore::moveAside() {
    std::string error;
    const fs::path aside = SqliteFile::moveAside(m_file, error);
    if (aside.empty()) {
        if (!error.empty()) say("cannot move aside unusable " + m_file.string() + ": " + error);
        return false;
    }
    m_movedAside = aside;
    say("unusable playlist file moved to " + aside.string() + "; starting with no playlists");
    return true;
}

bool PlaylistStore::recreate() {
    close();
    m_corrupt = false;
    std::string why;
    if (!moveAside() || open(why) != OpenResult::Ok) {
        close();
        say("changes of this session will not be kept: cannot use " + m_file.string() +
            (why.empty() ? "" : ": " + why));
        return false;
    }
    return true;
}

void PlaylistStore::say(const std::string& line) const {
    if (m_print) m_print("playlists: " + line);
}

bool PlaylistStore::exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool PlaylistStore::run(sqlite3_stmt* stmt) {
    const int rc = sqlite3_step(stmt);
    // Before the reset, which forgets it.
    const std::string error = rc == SQLITE_DONE ? "" : SqliteFile::errorText(m_db, rc);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc == SQLITE_DONE) return true;
    fail(rc, error);
    return false;
}

void PlaylistStore::fail(int rc, const std::string& error) {
    // Once for a run of failed saves: a full disk would otherwise flood the console.
    if (!m_failed && !m_saveFailing)
        say("cannot save to " + m_file.string() + ": " + error +
            "; the playlists stay as they are in memory");
    m_failed = true;
    m_saveFailing = true;
    if (isCorruption(rc)) m_corrupt = true;
}

bool PlaylistStore::begin() {
    if (!m_db) return false;
    m_failed = false;
    m_corrupt = false;
    const int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        fail(rc, SqliteFile::errorText(m_db, rc));
        return false;
    }
    return true;
}

bool PlaylistStore::commit() {
    if (!m_db) return false;
    if (!m_failed) {
        const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) {
            m_saveFailing = false;
            return true;
        }
        fail(rc, SqliteFile::errorText(m_db, rc));
    }
    rollback();
    return false;
}

void PlaylistStore::rollback() {
    if (m_db && !sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void PlaylistStore::writePlaylist(int64_t id, size_t position, const std::string& name, size_t focus,
                                  const std::vector<uint8_t>& selection) {
    if (!m_db || m_failed) return;
    sqlite3_bind_int64(m_putPlaylist, 1, id);
    sqlite3_bind_int64(m_putPlaylist, 2, int64_t(position));
    sqlite3_bind_text(m_putPlaylist, 3, name.data(), int(name.size()), SQLITE_STATIC);
    if (focus == SIZE_MAX)
        sqlite3_bind_null(m_putPlaylist, 4);
    else
        sqlite3_bind_int64(m_putPlaylist, 4, int64_t(focus));
    bindBlob(m_putPlaylist, 5, selection);
    run(m_putPlaylist);
}

void PlaylistStore::deletePlaylist(int64_t id) {
    if (!m_db || m_failed) return;
    for (sqlite3_stmt* s : {m_dropItems, m_dropProperties, m_dropPlaylist}) {
        sqlite3_bind_int64(s, 1, id);
        if (!run(s)) return;
    }
}

void PlaylistStore::deleteItems(int64_t id) {
    if (!m_db || m_failed) return;
    sqlite3_bind_int64(m_dropItems, 1, id);
    run(m_dropItems);
}

void PlaylistStore::deleteItem(int64_t id, int64_t key) {
    if (!m_db || m_failed) return;
    sqlite3_bind_int64(m_dropItem, 1, id);
    sqlite3_bind_int64(m_dropItem, 2, key);
    run(m_dropItem);
}

void PlaylistStore::putItem(int64_t id, int64_t key, const metadb_handle& track) {
    if (!m_db || m_failed) return;
    const char* path = track.get_path();
    sqlite3_bind_int64(m_putItem, 1, id);
    sqlite3_bind_int64(m_putItem, 2, key);
    sqlite3_bind_text(m_putItem, 3, path ? path : "", -1, SQLITE_STATIC);
    sqlite3_bind_int64(m_putItem, 4, track.get_subsong_index());
    run(m_putItem);
}

void PlaylistStore::replaceProperties(int64_t id, const PropertyMap& properties) {
    if (!m_db || m_failed) return;
    sqlite3_bind_int64(m_dropProperties, 1, id);
    if (!run(m_dropProperties)) return;
    for (const auto& [guid, value] : properties) {
        const std::string text = guidToText(guid);
        sqlite3_bind_int64(m_putProperty, 1, id);
        sqlite3_bind_text(m_putProperty, 2, text.data(), int(text.size()), SQLITE_STATIC);
        bindBlob(m_putProperty, 3, value);
        if (!run(m_putProperty)) return;
    }
}

void PlaylistStore::writeState(int64_t activeId, size_t order) {
    if (!m_db || m_failed) return;
    sqlite3_bind_text(m_putState, 1, "active", -1, SQLITE_STATIC);
    sqlite3_bind_int64(m_putState, 2, activeId);
    if (!run(m_putState)) return;
    sqlite3_bind_text(m_putState, 1, "order", -1, SQLITE_STATIC);
    sqlite3_bind_int64(m_putState, 2, int64_t(order));
    run(m_putState);
}

}  // namespace playlists
