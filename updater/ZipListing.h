#pragma once

// What a zip archive says it holds, read from its central directory before
// anything is unpacked, so that an archive which would write outside its
// folder or create links or device files is refused whole. Plain logic, any
// thread.

#include <QByteArray>

#include <optional>
#include <vector>

namespace dravik_update {

struct ZipEntry {
    enum Kind { File, Folder, Link, Special };
    QByteArray name;
    Kind kind = File;
};

// Every entry in directory order; nothing when the archive cannot be read.
std::optional<std::vector<ZipEntry>> listZip(const QByteArray& archive);

// Plain files and folders only, each named by a relative path that stays
// inside the folder it is unpacked into.
bool isSafeToUnpack(const std::vector<ZipEntry>& entries);

}  // namespace dravik_update
