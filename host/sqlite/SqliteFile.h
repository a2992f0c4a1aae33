#pragma once

// A SQLite file that keeps every committed change: WAL with full sync, checked
// when opened. Only a damaged file is moved aside (with its journal, never
// deleted); one that merely cannot be written is read and left as it is.
// Shared by the host's stores (settings, playlists, statistics).

#include <filesystem>
#include <string>

struct sqlite3;

class SqliteFile {
public:
    // Ok: open for reading and writing.
    // ReadOnly: `db` reads the file but nothing can be written to it; the
    //   caller takes what it needs and closes it.
    // Busy: another process holds the file.
    // Refused: the file system refused (permissions, I/O, no room), or the
    //   file is not ours to write; nothing was read.
    // Unusable: the file is damaged (SQLite answered corrupt or not a
    //   database, or the quick check failed): the one reason to move it aside.
    enum class OpenResult { Ok, ReadOnly, Busy, Refused, Unusable };

    // Opens `target` (a path, or ":memory:") for reading and writing, else for
    // reading. `why`, when given, receives what the user should hear: for
    // ReadOnly and Refused which file could not be used and why, for Ok that
    // the file was empty (0 bytes) if it was, else nothing. Anything but Ok and
    // ReadOnly may leave `db` open too: the caller closes it.
    static OpenResult open(const std::string& target, sqlite3*& db, std::string* why = nullptr);

    // Renames `file` and its -wal/-shm to FILE.corrupt-TIMESTAMP[-N]. Returns
    // the new path; an empty one when there is no file, or with `error` set
    // when it could not be moved.
    static std::filesystem::path moveAside(const std::filesystem::path& file, std::string& error);

    // Another process holds the file: not a reason to move it aside.
    static bool isBusy(int rc);
    // What a failed call's result code says about the file.
    static OpenResult failure(int rc);
    // What went wrong, for a person: SQLite's message for `rc` with the
    // system's reason where there is one ("disk I/O error (File too large)").
    // Call it before anything else runs on `db`.
    static std::string errorText(sqlite3* db, int rc);
};
