#include "SqliteFile.h"

#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
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

// SQLITE_OK when `db` is fit for use: sound, and when `write` is set in WAL
// with full syncing and able to take a write lock. A failed quick check reads
// as SQLITE_CORRUPT.
int check(sqlite3* db, bool write) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // Until the file proves sound, closing must not fold the log into it or
    // delete the log: both belong to whatever gets moved aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int rc = SQLITE_OK;
    if (write) {
        // WAL plus FULL: each commit is synced to the log before the call returns.
        const std::string mode = pragma(db, "PRAGMA journal_mode=WAL", rc);
        if (rc != SQLITE_ROW) return rc;
        if (mode != "wal" && mode != "memory") return SQLITE_CANTOPEN;
        rc = sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) return rc;
    }
    // A damaged file often opens fine and only fails later, losing writes then;
    // better to find out now while the file can still be set aside intact.
    const std::string verdict = pragma(db, "PRAGMA quick_check", rc);
    if (rc != SQLITE_ROW) return rc;
    if (verdict != "ok") return SQLITE_CORRUPT;
    if (write) {
        // SQLite opens a file it may not write for reading, without a word.
        if (sqlite3_db_readonly(db, "main") == 1) return SQLITE_READONLY;
        // Reading works even where writing will not (a read-only -shm or
        // -wal, say); a write lock shows it before anything is lost.
        rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) return rc;
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    return SQLITE_OK;
}

// SQLite does not keep the errno of a failed write to the log; the likely
// one, from what the system says now.
int writeErrno(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    struct statvfs disk {};
    if (file && *file && statvfs(fs::path(file).parent_path().c_str(), &disk) == 0 && disk.f_bavail == 0)
        return ENOSPC;
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) return EFBIG;
    return 0;
}

// Which file (or folder) keeps `target` from being written, and why.
std::string cannotWrite(const std::string& target, sqlite3* db, int rc) {
    std::error_code ec;
    for (const std::string& file : {target, target + "-wal", target + "-shm"})
        if (fs::exists(file, ec) && ::access(file.c_str(), W_OK) != 0)
            return file + " cannot be written (" + std::strerror(errno) + ")";
    const fs::path folder = fs::path(target).parent_path();
    const std::string shown = folder.empty() ? "." : folder.string();
    if (::access(shown.c_str(), W_OK) != 0)
        return "the folder " + shown + " cannot be written (" + std::strerror(errno) + ")";
    return target + " cannot be written: " + SqliteFile::errorText(db, rc);
}

// A file URI that keeps every byte of `path`.
std::string fileUri(const std::string& path, const char* query) {
    std::string uri = "file:";
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            uri += char(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            uri += hex;
        }
    }
    return uri + "?" + query;
}

// Opens `target` for reading only. Where not even the -shm can be made (a
// read-only folder), the file is read as it stands, but only when no log holds
// changes that this would miss.
int openToRead(const std::string& target, sqlite3*& db) {
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(fileUri(target, "mode=ro").c_str(), &db, flags, nullptr);
    if (rc == SQLITE_OK) rc = check(db, false);
    if (rc == SQLITE_OK || SqliteFile::failure(rc) != SqliteFile::OpenResult::Refused) return rc;
    std::error_code ec;
    const auto log = fs::file_size(target + "-wal", ec);
    if (!ec && log > 0) return rc;
    sqlite3_close_v2(db);
    db = nullptr;
    rc = sqlite3_open_v2(fileUri(target, "immutable=1").c_str(), &db, flags, nullptr);
    if (rc == SQLITE_OK) rc = check(db, false);
    return rc;
}

}  // namespace

bool SqliteFile::isBusy(int rc) {
    rc &= 0xff;
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

SqliteFile::OpenResult SqliteFile::failure(int rc) {
    if (isBusy(rc)) return OpenResult::Busy;
    rc &= 0xff;
    return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB ? OpenResult::Unusable : OpenResult::Refused;
}

SqliteFile::OpenResult SqliteFile::open(const std::string& target, sqlite3*& db, std::string* why) {
    const bool onDisk = target != ":memory:";
    std::error_code ec;
    const bool wasEmpty = onDisk && fs::is_regular_file(target, ec) && fs::file_size(target, ec) == 0 && !ec;

    int rc = sqlite3_open_v2(target.c_str(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) rc = check(db, true);
    if (rc == SQLITE_OK) {
        if (why) *why = wasEmpty ? target + " was empty (0 bytes)" : "";
        return OpenResult::Ok;
    }
    const OpenResult result = failure(rc);
    if (result != OpenResult::Refused || !onDisk) {
        if (why) *why = target + ": " + errorText(db, rc);
        return result;
    }

    // It cannot be written: read what it holds, and leave it as it is.
    const std::string reason = cannotWrite(target, db, rc);
    sqlite3_close_v2(db);
    db = nullptr;
    rc = openToRead(target, db);
    if (why) *why = reason;
    if (rc == SQLITE_OK) return OpenResult::ReadOnly;
    return failure(rc);
}

std::string SqliteFile::errorText(sqlite3* db, int rc) {
    std::string text = db && sqlite3_extended_errcode(db) == rc ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int system = db ? sqlite3_system_errno(db) : 0;
    const int primary = rc & 0xff;
    if (!system && db && (primary == SQLITE_IOERR || primary == SQLITE_FULL)) system = writeErrno(db);
    if (system) text += std::string(" (") + std::strerror(system) + ")";
    return text;
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
