#include "ConfigStore.h"

#include "Console.h"

#include <sqlite3.h>

#include <system_error>


namespace fs = std::filesystem;


ConfigStore::ConfigStore(const fs::path& file, Console& console)
    : m_file(file), m_console(console) {
    OpenResult r = open(m_file.string());
    if (r == OpenResult::Unusable) {
        close();
        if (moveAside()) r = open(m_file.string());
    }
    if (r != OpenResult::Ok) {
        close();
        open(":memory:");
        report("settings of this session will not be kept: cannot use " + m_file.string());
        return;
    }
    m_persistent = true;
}

ConfigStore::~ConfigStore() { close(); }

ConfigStore::OpenResult ConfigStore::open(const std::string& target) {
    if (const OpenResult r = SqliteFile::open(target, m_db); r != OpenResult::Ok) return r;
    if (!exec("CREATE TABLE IF NOT EXISTS config(name TEXT PRIMARY KEY NOT NULL, value NOT NULL)"))
        return OpenResult::Unusable;
    if (sqlite3_prepare_v2(m_db, "SELECT value FROM config WHERE name=?1", -1, &m_get, nullptr) ||
        sqlite3_prepare_v2(m_db,
                           "INSERT INTO config(name,value) VALUES(?1,?2) "
                           "ON CONFLICT(name) DO UPDATE SET value=excluded.value",
                           -1, &m_set, nullptr) ||
        sqlite3_prepare_v2(m_db, "DELETE FROM config WHERE name=?1", -1, &m_delete, nullptr))
        return OpenResult::Unusable;
    return OpenResult::Ok;
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
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc == SQLITE_DONE) return true;
    report("cannot save setting " + name + ": " + sqlite3_errstr(rc));
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
