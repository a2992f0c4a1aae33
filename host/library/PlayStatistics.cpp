#include "PlayStatistics.h"

#include "Console.h"
#include "SqliteFile.h"

#include <sqlite3.h>

#include <system_error>

namespace fs = std::filesystem;

namespace library {

namespace {

bool exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

PlayStatistics::PlayStatistics(Console& console) : m_console(console) {}

PlayStatistics::PlayStatistics(const fs::path& file, Console& console) : m_console(console), m_file(file) {
    std::string why;
    Opened r = open(file, why);
    if (r == Opened::Unusable) {
        close();
        if (moveAside(file)) r = open(file, why);
    }
    switch (r) {
        case Opened::Ok:
            if (!why.empty()) report(why + "; starting afresh");
            return;
        case Opened::ReadOnly:
            // What the file holds stays readable; nothing goes back into it.
            close();
            report("play statistics of this session will not be kept: " + why);
            return;
        default:
            close();
            m_stats.clear();
            report("play statistics of this session will not be kept: cannot use " + file.string() +
                   (why.empty() ? "" : ": " + why));
    }
}

PlayStatistics::~PlayStatistics() { close(); }

PlayStatistics::Opened PlayStatistics::open(const fs::path& file, std::string& why) {
    m_stats.clear();
    const Opened r = SqliteFile::open(file.string(), m_db, &why);
    if (r == Opened::ReadOnly) return loadAll() ? r : Opened::Refused;
    if (r != Opened::Ok) return r;
    if (exec(m_db,
             "CREATE TABLE IF NOT EXISTS stats("
             "location TEXT NOT NULL, subsong INTEGER NOT NULL, "
             "play_count INTEGER NOT NULL DEFAULT 0, first_played INTEGER NOT NULL DEFAULT 0, "
             "last_played INTEGER NOT NULL DEFAULT 0, added INTEGER NOT NULL DEFAULT 0, "
             "rating INTEGER NOT NULL DEFAULT 0, PRIMARY KEY(location, subsong)) WITHOUT ROWID") &&
        loadAll())
        return r;
    const int rc = sqlite3_extended_errcode(m_db);
    why = file.string() + ": " + SqliteFile::errorText(m_db, rc);
    return SqliteFile::failure(rc);
}

bool PlayStatistics::loadAll() {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT location, subsong, play_count, first_played, last_played, added, rating "
                           "FROM stats",
                           -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* location = sqlite3_column_text(stmt, 0);
        if (!location) continue;
        TrackKey key{
            std::string(reinterpret_cast<const char*>(location), size_t(sqlite3_column_bytes(stmt, 0))),
            uint32_t(sqlite3_column_int64(stmt, 1))};
        PlayStats s;
        s.playCount = uint32_t(std::max<int64_t>(0, sqlite3_column_int64(stmt, 2)));
        s.firstPlayed = sqlite3_column_int64(stmt, 3);
        s.lastPlayed = sqlite3_column_int64(stmt, 4);
        s.added = sqlite3_column_int64(stmt, 5);
        const int64_t rating = sqlite3_column_int64(stmt, 6);
        s.rating = rating >= 0 && rating <= kMaxRating ? uint32_t(rating) : 0;
        m_stats[std::move(key)] = s;
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

void PlayStatistics::close() {
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool PlayStatistics::moveAside(const fs::path& file) {
    std::string error;
    const fs::path aside = SqliteFile::moveAside(file, error);
    if (aside.empty()) {
        if (!error.empty()) report("cannot move aside unusable " + file.string() + ": " + error);
        return false;
    }
    m_movedAside = aside;
    report("unusable play statistics moved to " + aside.string() + "; starting afresh");
    return true;
}

void PlayStatistics::report(const std::string& what) const { m_console.print("library: " + what); }

bool PlayStatistics::save(const std::vector<const TrackKey*>& keys) {
    if (!m_db || keys.empty()) return true;
    sqlite3_stmt* upsert = nullptr;
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(m_db,
                                "INSERT INTO stats(location, subsong, play_count, first_played, last_played, "
                                "added, rating) VALUES(?1,?2,?3,?4,?5,?6,?7) ON CONFLICT(location, subsong) "
                                "DO UPDATE SET play_count=excluded.play_count, "
                                "first_played=excluded.first_played, last_played=excluded.last_played, "
                                "added=excluded.added, rating=excluded.rating",
                                -1, &upsert, nullptr);
    for (size_t i = 0; rc == SQLITE_OK && i < keys.size(); ++i) {
        const TrackKey& key = *keys[i];
        const PlayStats& s = m_stats[key];
        sqlite3_bind_text(upsert, 1, key.location.data(), int(key.location.size()), SQLITE_STATIC);
        sqlite3_bind_int64(upsert, 2, key.subsong);
        sqlite3_bind_int64(upsert, 3, s.playCount);
        sqlite3_bind_int64(upsert, 4, s.firstPlayed);
        sqlite3_bind_int64(upsert, 5, s.lastPlayed);
        sqlite3_bind_int64(upsert, 6, s.added);
        sqlite3_bind_int64(upsert, 7, s.rating);
        rc = sqlite3_step(upsert);
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
        if (rc == SQLITE_OK) sqlite3_reset(upsert);
    }
    if (rc == SQLITE_OK) rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    // Read before anything else runs: the next call forgets them.
    const std::string error = rc == SQLITE_OK ? "" : SqliteFile::errorText(m_db, rc);
    sqlite3_finalize(upsert);
    if (rc != SQLITE_OK) {
        // Once for a run of failures: a full disk would otherwise flood the console.
        if (!m_saveFailing)
            report("cannot save play statistics to " + m_file.string() + ": " + error +
                   "; they are kept for this session only");
        exec(m_db, "ROLLBACK");
    }
    m_saveFailing = rc != SQLITE_OK;
    return rc == SQLITE_OK;
}

PlayStats PlayStatistics::get(const TrackKey& key) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_stats.find(key);
    return it == m_stats.end() ? PlayStats{} : it->second;
}

PlayStats PlayStatistics::played(const TrackKey& key, int64_t now) {
    std::lock_guard lock(m_mutex);
    PlayStats& s = m_stats[key];
    ++s.playCount;
    if (s.firstPlayed == 0) s.firstPlayed = now;
    s.lastPlayed = now;
    if (s.added == 0) s.added = now;
    const PlayStats after = s;
    save({&key});
    return after;
}

bool PlayStatistics::setRating(const std::vector<TrackKey>& keys, uint32_t rating,
                               std::vector<PlayStats>* after) {
    if (rating > kMaxRating) return false;
    std::lock_guard lock(m_mutex);
    std::vector<const TrackKey*> dirty;
    if (after) after->clear();
    for (const TrackKey& key : keys) {
        PlayStats& s = m_stats[key];
        s.rating = rating;
        if (after) after->push_back(s);
        dirty.push_back(&key);
    }
    save(dirty);
    return true;
}

std::vector<size_t> PlayStatistics::markAdded(const std::vector<TrackKey>& keys, int64_t now) {
    std::lock_guard lock(m_mutex);
    std::vector<size_t> changed;
    std::vector<const TrackKey*> dirty;
    for (size_t i = 0; i < keys.size(); ++i) {
        PlayStats& s = m_stats[keys[i]];
        if (s.added != 0) continue;
        s.added = now;
        changed.push_back(i);
        dirty.push_back(&keys[i]);
    }
    save(dirty);
    return changed;
}

}  // namespace library
