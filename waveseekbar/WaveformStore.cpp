#include "WaveformStore.h"

#include "console.h"
#include "std_api.h"

#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace wave {

namespace {

using Open = SqliteFile::OpenResult;

constexpr std::string_view kFileScheme = "file://";
constexpr size_t kLayerBytes = kBins * sizeof(float);

bool damaged(int rc) {
    rc &= 0xff;
    return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB;
}

// Steps once and leaves the statement ready for its next use.
int stepOnce(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return rc;
}

void bindKey(sqlite3_stmt* s, const std::string& key) {
    sqlite3_bind_text(s, 1, key.data(), int(key.size()), SQLITE_TRANSIENT);
}

// Rows carry no checksum: values no scan produces mean the row is damaged.
std::shared_ptr<const Waveform> fromBytes(const void* data) {
    auto w = std::make_shared<Waveform>();
    std::memcpy(w->peak.data(), data, kLayerBytes);
    std::memcpy(w->rms.data(), static_cast<const char*>(data) + kLayerBytes, kLayerBytes);
    for (const auto* layer : {&w->peak, &w->rms})
        for (float v : *layer)
            if (!std::isfinite(v) || v < 0) return nullptr;
    w->complete = true;
    return w;
}

}  // namespace

std::optional<FileStamp> stampOf(std::string_view location) {
    if (!location.starts_with(kFileScheme)) return std::nullopt;
    const fs::path file(location.substr(kFileScheme.size()));
    std::error_code ec;
    const uint64_t size = fs::file_size(file, ec);
    if (ec) return std::nullopt;
    const auto modified = fs::last_write_time(file, ec);
    if (ec) return std::nullopt;
    return FileStamp{
        size, std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count()};
}

WaveformStore::WaveformStore(fs::path file, uint64_t limitBytes)
    : m_file(std::move(file)), m_limit(limitBytes) {}

WaveformStore::~WaveformStore() { close(); }

std::shared_ptr<const Waveform> WaveformStore::load(const std::string& key, const FileStamp& stamp) {
    std::lock_guard lock(m_mutex);
    if (!ready()) return nullptr;
    bindKey(m_select, key);
    std::shared_ptr<const Waveform> out;
    int rc = sqlite3_step(m_select);
    if (rc == SQLITE_ROW) {
        if (sqlite3_column_int64(m_select, 0) == int64_t(stamp.size) &&
            sqlite3_column_int64(m_select, 1) == stamp.modified &&
            size_t(sqlite3_column_bytes(m_select, 2)) == 2 * kLayerBytes)
            out = fromBytes(sqlite3_column_blob(m_select, 2));
        rc = SQLITE_DONE;
    }
    sqlite3_reset(m_select);
    sqlite3_clear_bindings(m_select);
    if (rc != SQLITE_DONE) failed(rc);
    return out;
}

void WaveformStore::markUsed(const std::string& key) {
    std::lock_guard lock(m_mutex);
    if (!ready() || m_readOnly) return;
    bindKey(m_touch, key);
    if (const int rc = stepOnce(m_touch); rc != SQLITE_DONE) failed(rc);
}

void WaveformStore::save(const std::string& key, const FileStamp& stamp, const Waveform& summary) {
    if (!summary.complete || summary.peak.size() != kBins || summary.rms.size() != kBins) return;
    std::lock_guard lock(m_mutex);
    if (!ready() || m_readOnly) return;
    std::vector<float> data(summary.peak);
    data.insert(data.end(), summary.rms.begin(), summary.rms.end());

    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        bindKey(m_upsert, key);
        sqlite3_bind_int64(m_upsert, 2, int64_t(stamp.size));
        sqlite3_bind_int64(m_upsert, 3, stamp.modified);
        sqlite3_bind_blob(m_upsert, 4, data.data(), int(2 * kLayerBytes), SQLITE_STATIC);
        rc = stepOnce(m_upsert);
    }
    while (rc == SQLITE_DONE && bytesInUse() > int64_t(m_limit)) {
        bindKey(m_evict, key);
        rc = stepOnce(m_evict);
        if (sqlite3_changes(m_db) == 0) break;  // only the new row is left
    }
    if (rc == SQLITE_DONE) rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        failed(rc);
        if (m_db) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return;
    }
    m_failing = false;
    // Hands the pages of replaced and evicted rows back to the file system.
    sqlite3_exec(m_db, "PRAGMA incremental_vacuum", nullptr, nullptr, nullptr);
}

bool WaveformStore::ready() {
    if (m_db || m_disabled) return m_db != nullptr;
    std::string why;
    Open r = open(why);
    if (r == Open::Unusable && setAside()) r = open(why);
    switch (r) {
        case Open::Ok:
            return true;
        case Open::ReadOnly:
            // What was kept still shows; nothing new goes in.
            report("waveforms will not be kept: " + why);
            return true;
        case Open::Busy:
            // Another process holds the file; the next track tries again.
            close();
            return false;
        default:
            if (!m_disabled) disable(why);
            return false;
    }
}

Open WaveformStore::open(std::string& why) {
    const Open opened = SqliteFile::open(m_file.string(), m_db, &why);
    m_readOnly = opened == Open::ReadOnly;
    if (opened != Open::Ok && !m_readOnly) return opened;
    int rc = SQLITE_OK;
    auto run = [this](const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); };
    auto prepare = [this](const char* sql, sqlite3_stmt*& s) {
        return sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr);
    };
    if (m_readOnly) {
        rc = prepare("SELECT size, modified, data FROM waveforms WHERE key=?1", m_select);
        if (rc == SQLITE_OK) return opened;
        why = m_file.string() + ": " + SqliteFile::errorText(m_db, rc);
        return Open::Refused;
    }
    // A lost write at a power cut costs one scan; a sync per track would cost every time.
    rc = run("PRAGMA synchronous=NORMAL");
    sqlite3_stmt* mode = nullptr;
    if (rc == SQLITE_OK) rc = prepare("PRAGMA auto_vacuum", mode);
    const bool incremental =
        rc == SQLITE_OK && sqlite3_step(mode) == SQLITE_ROW && sqlite3_column_int(mode, 0) == 2;
    sqlite3_finalize(mode);
    // Only takes effect through a rebuild; on a new file that is instant.
    if (rc == SQLITE_OK && !incremental) rc = run("PRAGMA auto_vacuum=INCREMENTAL");
    if (rc == SQLITE_OK && !incremental) rc = run("VACUUM");
    if (rc == SQLITE_OK)
        rc =
            run("CREATE TABLE IF NOT EXISTS waveforms(key TEXT PRIMARY KEY NOT NULL, size INTEGER NOT NULL, "
                "modified INTEGER NOT NULL, used INTEGER NOT NULL, data BLOB NOT NULL)");
    if (rc == SQLITE_OK) rc = run("CREATE INDEX IF NOT EXISTS waveforms_used ON waveforms(used)");
    // Preparing checks the columns too: a table of another shape is unusable.
    if (rc == SQLITE_OK) rc = prepare("SELECT size, modified, data FROM waveforms WHERE key=?1", m_select);
    if (rc == SQLITE_OK)
        rc = prepare("UPDATE waveforms SET used=(SELECT MAX(used) FROM waveforms)+1 WHERE key=?1", m_touch);
    if (rc == SQLITE_OK)
        rc = prepare(
            "INSERT INTO waveforms(key, size, modified, used, data) "
            "VALUES(?1, ?2, ?3, (SELECT IFNULL(MAX(used), 0) FROM waveforms)+1, ?4) ON CONFLICT(key) DO "
            "UPDATE "
            "SET size=excluded.size, modified=excluded.modified, used=excluded.used, data=excluded.data",
            m_upsert);
    if (rc == SQLITE_OK)
        rc = prepare(
            "DELETE FROM waveforms WHERE key=(SELECT key FROM waveforms WHERE key<>?1 ORDER BY used LIMIT 1)",
            m_evict);
    if (rc == SQLITE_OK)
        rc = prepare(
            "SELECT (c.page_count - f.freelist_count) * s.page_size "
            "FROM pragma_page_count c, pragma_freelist_count f, pragma_page_size s",
            m_usage);
    if (rc == SQLITE_OK) return Open::Ok;
    why = m_file.string() + ": " + SqliteFile::errorText(m_db, rc);
    // A plain error is a table of another shape: not ours, so it goes aside.
    return (rc & 0xff) == SQLITE_ERROR ? Open::Unusable : SqliteFile::failure(rc);
}

void WaveformStore::close() {
    for (sqlite3_stmt** s : {&m_select, &m_touch, &m_upsert, &m_evict, &m_usage}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool WaveformStore::setAside() {
    close();
    std::string error;
    const fs::path aside = SqliteFile::moveAside(m_file, error);
    if (!error.empty()) {
        disable("cannot move " + m_file.string() + " aside: " + error);
        return false;
    }
    if (!aside.empty()) report("unusable waveform store moved to " + aside.string() + "; starting afresh");
    return true;
}

void WaveformStore::disable(const std::string& why) {
    close();
    m_disabled = true;
    report("waveforms will not be kept: " + why);
}

void WaveformStore::failed(int rc) {
    if (damaged(rc)) {
        setAside();
        return;
    }
    // Once for a run of failures: a full disk would otherwise say so every track.
    if (!m_failing && !SqliteFile::isBusy(rc))
        report("cannot use " + m_file.string() + ": " + SqliteFile::errorText(m_db, rc));
    m_failing = true;
}

int64_t WaveformStore::bytesInUse() {
    const int rc = sqlite3_step(m_usage);
    const int64_t bytes = rc == SQLITE_ROW ? sqlite3_column_int64(m_usage, 0) : -1;
    sqlite3_reset(m_usage);
    return bytes;
}

void WaveformStore::report(const std::string& what) {
    qvn::std_api_get<qvn::console>()->print(("Waveform Seekbar: " + what).c_str());
}

}  // namespace wave
