#pragma once

// A SQLite file that keeps every committed change: WAL with full sync, checked
// when opened. A file found unusable is moved aside with its journal, never
// deleted. Shared by the host's stores (settings, playlists, statistics).

#include <filesystem>
#include <string>

struct sqlite3;

class SqliteFile {
public:
    enum class OpenResult { Ok, Busy, Unusable };

    // Opens `target` (a path, or ":memory:") for reading and writing. Anything
    // but Ok may leave `db` open: the caller closes it.
    static OpenResult open(const std::string& target, sqlite3*& db);

    // Renames `file` and its -wal/-shm to FILE.corrupt-TIMESTAMP[-N]. Returns
    // the new path; an empty one when there is no file, or with `error` set
    // when it could not be moved.
    static std::filesystem::path moveAside(const std::filesystem::path& file, std::string& error);

    // Another process holds the file: not a reason to move it aside.
    static bool isBusy(int rc);
};
