#include "ConfigStore.h"

#include "Console.h"

#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Long enough to ride out another process's checkpoint.
constexpr int kBusyTimeoutMs = 5000;

std::string timestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tm);
    return buf;
}

bool isBusy(int rc) {
    rc &= 0xff;
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

}  // namespace

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
    const int rc =
        sqlite3_open_v2(target.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) return isBusy(rc) ? OpenResult::Busy : OpenResult::Unusable;
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
    // Until the file proves sound, closing must not fold the log into it or
    // delete the log: both belong to whatever gets moved aside.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);

    // WAL plus FULL: each commit is synced to the log before the call returns.
    sqlite3_stmt* mode = nullptr;
    int r = sqlite3_prepare_v2(m_db, "PRAGMA journal_mode=WAL", -1, &mode, nullptr);
    if (r == SQLITE_OK) r = sqlite3_step(mode);
    sqlite3_finalize(mode);
    if (r != SQLITE_ROW) return isBusy(r) ? OpenResult::Busy : OpenResult::Unusable;
    if (!exec("PRAGMA synchronous=FULL")) return OpenResult::Unusable;

    // A damaged file often opens fine and only fails later, losing writes then;
    // better to find out now while the file can still be set aside intact.
    sqlite3_stmt* check = nullptr;
    r = sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &check, nullptr);
    if (r == SQLITE_OK) r = sqlite3_step(check);
    const auto* verdict = r == SQLITE_ROW ? sqlite3_column_text(check, 0) : nullptr;
    const bool healthy = verdict && std::string(reinterpret_cast<const char*>(verdict)) == "ok";
    sqlite3_finalize(check);
    if (!healthy) return isBusy(r) ? OpenResult::Busy : OpenResult::Unusable;
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);

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
    std::error_code ec;
    if (!fs::exists(m_file, ec)) return false;
    const std::string base = m_file.string() + ".corrupt-" + timestamp();
    fs::path aside = base;
    for (int n = 2; fs::exists(aside, ec); ++n) aside = base + "-" + std::to_string(n);
    fs::rename(m_file, aside, ec);
    if (ec) {
        report("cannot move aside unusable " + m_file.string() + ": " + ec.message());
        return false;
    }
    // The old log belongs to the old file: replayed into a fresh one it would
    // corrupt it, kept beside the moved file it still helps a recovery.
    for (const char* suffix : {"-wal", "-shm"}) {
        const fs::path journal = m_file.string() + suffix;
        if (fs::exists(journal, ec)) {
            fs::rename(journal, aside.string() + suffix, ec);
            if (ec) fs::remove(journal, ec);
        }
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
