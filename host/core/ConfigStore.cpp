#include "ConfigStore.h"

#include "Console.h"

#include <sqlite3.h>

#include <system_error>

namespace fs = std::filesystem;

ConfigStore::ConfigStore(const fs::path& file, Console& console) : m_file(file), m_console(console) {
    std::string why;
    OpenResult r = open(m_file.string(), &why);
    if (r == OpenResult::Unusable) {
        close();
        if (moveAside()) r = open(m_file.string(), &why);
    }
    if (r == OpenResult::Ok) {
        if (!why.empty()) report(why + "; starting with fresh settings");
        m_persistent = true;
        return;
    }
    if (r == OpenResult::ReadOnly) {
        report("settings changed this session will not be kept: " + why);
        return;
    }
    close();
    open(":memory:");
    report("settings of this session will not be kept: cannot use " + m_file.string() +
           (why.empty() ? "" : ": " + why));
}

ConfigStore::~ConfigStore() { close(); }

ConfigStore::OpenResult ConfigStore::open(const std::string& target, std::string* why) {
    OpenResult r = SqliteFile::open(target, m_db, why);
    // What the file holds, in memory: the session reads it and may change it,
    // and the file stays as it was.
    if (r == OpenResult::ReadOnly && !copyToMemory()) r = OpenResult::Refused;
    if (r != OpenResult::Ok && r != OpenResult::ReadOnly) return r;
    if (exec("CREATE TABLE IF NOT EXISTS config(name TEXT PRIMARY KEY NOT NULL, value NOT NULL)") &&
        sqlite3_prepare_v2(m_db, "SELECT value FROM config WHERE name=?1", -1, &m_get, nullptr) ==
            SQLITE_OK &&
        sqlite3_prepare_v2(m_db,
                           "INSERT INTO config(name,value) VALUES(?1,?2) "
                           "ON CONFLICT(name) DO UPDATE SET value=excluded.value",
                           -1, &m_set, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(m_db, "DELETE FROM config WHERE name=?1", -1, &m_delete, nullptr) == SQLITE_OK)
        return r;
    const int rc = sqlite3_extended_errcode(m_db);
    if (why) *why = target + ": " + SqliteFile::errorText(m_db, rc);
    return SqliteFile::failure(rc);
}

bool ConfigStore::copyToMemory() {
    sqlite3* memory = nullptr;
    bool ok = sqlite3_open(":memory:", &memory) == SQLITE_OK;
    if (ok) {
        sqlite3_backup* copy = sqlite3_backup_init(memory, "main", m_db, "main");
        ok = copy && sqlite3_backup_step(copy, -1) == SQLITE_DONE;
        ok = sqlite3_backup_finish(copy) == SQLITE_OK && ok;
    }
    sqlite3_close_v2(m_db);
    m_db = memory;
    return ok;
}

void ConfigStore::close() {
    for (sqlite3_stmt** s : {&m_get, &m_set, &m_delete}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool ConfigStore::moveAside() {
    std::string error;
    const fs::path aside = SqliteFile::moveAside(m_file, error);
    if (aside.empty()) {
        if (!error.empty()) report("cannot move aside unusable " + m_file.string() + ": " + error);
        return false;
    }
    m_movedAside = aside;
    report("unusable settings file moved to " + aside.string() + "; starting with fresh settings");
    return true;
}

bool ConfigStore::exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool ConfigStore::step(sqlite3_stmt* stmt, const std::string& name) {
    const int rc = sqlite3_step(stmt);
    // Before the reset, which forgets it.
    const std::string error = rc == SQLITE_DONE ? "" : SqliteFile::errorText(m_db, rc);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc == SQLITE_DONE) {
        m_saveFailing = false;
        return true;
    }
    // Once for a run of failures: a full disk would otherwise flood the console.
    if (!m_saveFailing)
        report("cannot save setting " + name + " to " + m_file.string() + ": " + error +
               "; settings changed from now on may be lost");
    m_saveFailing = true;
    return false;
}

void ConfigStore::report(const std::string& what) { m_console.print("config: " + what); }

std::optional<int64_t> ConfigStore::getInt(const std::string& name) {
    std::lock_guard lock(m_mutex);
    if (!m_get) return std::nullopt;
    sqlite3_bind_text(m_get, 1, name.data(), int(name.size()), SQLITE_TRANSIENT);
    std::optional<int64_t> out;
    if (sqlite3_step(m_get) == SQLITE_ROW && sqlite3_column_type(m_get, 0) == SQLITE_INTEGER)
        out = sqlite3_column_int64(m_get, 0);
    sqlite3_reset(m_get);
    sqlite3_clear_bindings(m_get);
    return out;
}

std::optional<std::string> ConfigStore::getString(const std::string& name) {
    std::lock_guard lock(m_mutex);
    if (!m_get) return std::nullopt;
    sqlite3_bind_text(m_get, 1, name.data(), int(name.size()), SQLITE_TRANSIENT);
    std::optional<std::string> out;
    if (sqlite3_step(m_get) == SQLITE_ROW && sqlite3_column_type(m_get, 0) == SQLITE_TEXT)
        out.emplace(reinterpret_cast<const char*>(sqlite3_column_text(m_get, 0)),
                    size_t(sqlite3_column_bytes(m_get, 0)));
    sqlite3_reset(m_get);
    sqlite3_clear_bindings(m_get);
    return out;
}

void ConfigStore::setInt(const std::string& name, int64_t value) {
    std::lock_guard lock(m_mutex);
    if (!m_set) return;
    sqlite3_bind_text(m_set, 1, name.data(), int(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(m_set, 2, value);
    step(m_set, name);
}

void ConfigStore::setString(const std::string& name, const std::string& value) {
    std::lock_guard lock(m_mutex);
    if (!m_set) return;
    sqlite3_bind_text(m_set, 1, name.data(), int(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(m_set, 2, value.data(), int(value.size()), SQLITE_TRANSIENT);
    step(m_set, name);
}

void ConfigStore::remove(const std::string& name) {
    std::lock_guard lock(m_mutex);
    if (!m_delete) return;
    sqlite3_bind_text(m_delete, 1, name.data(), int(name.size()), SQLITE_TRANSIENT);
    step(m_delete, name);
}
