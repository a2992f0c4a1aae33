#include "SqliteFile.h"

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

// The first column of a one-row pragma; the step's code in `rc`.
std::string pragma(sqlite3* db, const char* sql, int& rc) {
    sqlite3_stmt* s = nullptr;
    rc = sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(s);
    const auto* text = rc == SQLITE_ROW ? sqlite3_column_text(s, 0) : nullptr;
    std::string out = text ? reinterpret_cast<const char*>(text) : "";
    sqlite3_finalize(s);
    return out;
}

}  // namespace

bool SqliteFile::isBusy(int rc) {
    rc &= 0xff;
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

SqliteFile::OpenResult SqliteFile::open(const std::string& target, sqlite3*& db) {
    const int rc =
        sqlite3_open_v2(target.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) return isBusy(rc) ? OpenResult::Busy : OpenResult::Unusable;
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // Until the file proves sound, closing must not fold the log into it or
    // delete the log: both belong to whatever gets moved aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);

    // WAL plus FULL: each commit is synced to the log before the call returns.
    int r = SQLITE_OK;
    const std::string mode = pragma(db, "PRAGMA journal_mode=WAL", r);
    if (r != SQLITE_ROW) return isBusy(r) ? OpenResult::Busy : OpenResult::Unusable;
    if (mode != "wal" && mode != "memory") return OpenResult::Unusable;
    if (sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr) != SQLITE_OK)
        return OpenResult::Unusable;

    // A damaged file often opens fine and only fails later, losing writes then;
    // better to find out now while the file can still be set aside intact.
    if (pragma(db, "PRAGMA quick_check", r) != "ok") return isBusy(r) ? OpenResult::Busy : OpenResult::Unusable;
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    return OpenResult::Ok;
}

fs::path SqliteFile::moveAside(const fs::path& file, std::string& error) {
    std::error_code ec;
    error.clear();
    if (!fs::exists(file, ec)) return {};
    const std::string base = file.string() + ".corrupt-" + timestamp();
    fs::path aside = base;
    for (int n = 2; fs::exists(aside, ec); ++n) aside = base + "-" + std::to_string(n);
    fs::rename(file, aside, ec);
    if (ec) {
        error = ec.message();
        return {};
    }
    // The old log belongs to the old file: replayed into a fresh one it would
    // corrupt it, kept beside the moved file it still helps a recovery.
    for (const char* suffix : {"-wal", "-shm"}) {
        const fs::path journal = file.string() + suffix;
        if (fs::exists(journal, ec)) {
            fs::rename(journal, aside.string() + suffix, ec);
            if (ec) fs::remove(journal, ec);
        }
    }
    return aside;
}
