#include "ZipListing.h"

#include <QList>

#include <cstdint>

namespace dravik_update {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kEnd64Signature = 0x06064b50;
constexpr uint32_t kEnd64LocatorSignature = 0x07064b50;
constexpr uint32_t kEntrySignature = 0x02014b50;
constexpr qsizetype kEndSize = 22;
constexpr qsizetype kEntrySize = 46;
constexpr qsizetype kMaxEntries = 10000;

class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}
    // Offsets come from the archive: any value, so no sum that could overflow.
    bool has(qint64 at, qint64 size) const {
        return at >= 0 && size >= 0 && at <= m_data.size() && size <= m_data.size() - at;
    }
    uint64_t le(qint64 at, int size) const {
        uint64_t v = 0;
        for (int i = size - 1; i >= 0; --i) v = v << 8 | uint8_t(m_data[at + i]);
        return v;
    }

private:
    const QByteArray& m_data;
};

ZipEntry::Kind kindOf(const QByteArray& name, uint32_t externalAttributes) {
    // Unix tools keep st_mode in the upper half; others leave it zero.
    switch ((externalAttributes >> 16) & 0170000) {
        case 0:
            return name.endsWith('/') ? ZipEntry::Folder : ZipEntry::File;
        case 0100000:
            return ZipEntry::File;
        case 0040000:
            return ZipEntry::Folder;
        case 0120000:
            return ZipEntry::Link;
        default:
            return ZipEntry::Special;
    }
}

}  // namespace

std::optional<std::vector<ZipEntry>> listZip(const QByteArray& archive) {
    const Reader r(archive);
    // The end record sits behind at most a 64 KiB comment.
    qint64 end = archive.size() - kEndSize;
    const qint64 lowest = qMax<qint64>(0, end - 0xFFFF);
    while (end >= lowest && !(r.has(end, kEndSize) && r.le(end, 4) == kEndSignature)) --end;
    if (end < lowest) return std::nullopt;

    uint64_t directorySize = r.le(end + 12, 4);
    uint64_t directoryStart = r.le(end + 16, 4);
    if (r.has(end - 20, 20) && r.le(end - 20, 4) == kEnd64LocatorSignature) {
        const qint64 end64 = qint64(r.le(end - 12, 8));
        if (!r.has(end64, 56) || r.le(end64, 4) != kEnd64Signature) return std::nullopt;
        directorySize = r.le(end64 + 40, 8);
        directoryStart = r.le(end64 + 48, 8);
    } else if (directoryStart + directorySize != uint64_t(end)) {
        // Data before the archive (a self-extractor) shifts every offset.
        directoryStart = uint64_t(end) - directorySize;
    }
    if (directorySize > uint64_t(archive.size()) || !r.has(qint64(directoryStart), qint64(directorySize)))
        return std::nullopt;

    std::vector<ZipEntry> entries;
    const qint64 stop = qint64(directoryStart + directorySize);
    for (qint64 at = qint64(directoryStart); at < stop;) {
        if (!r.has(at, kEntrySize) || r.le(at, 4) != kEntrySignature) return std::nullopt;
        if (qsizetype(entries.size()) == kMaxEntries) return std::nullopt;
        const qint64 nameSize = qint64(r.le(at + 28, 2));
        const qint64 next = at + kEntrySize + nameSize + qint64(r.le(at + 30, 2)) + qint64(r.le(at + 32, 2));
        if (!r.has(at, next - at) || next > stop) return std::nullopt;
        const QByteArray name = archive.mid(at + kEntrySize, nameSize);
        entries.push_back({name, kindOf(name, uint32_t(r.le(at + 38, 4)))});
        at = next;
    }
    return entries;
}

bool isSafeToUnpack(const std::vector<ZipEntry>& entries) {
    for (const ZipEntry& e : entries) {
        if (e.kind != ZipEntry::File && e.kind != ZipEntry::Folder) return false;
        const QByteArray& name = e.name;
        if (name.isEmpty() || name.startsWith('/') || name.contains('\\') || name.contains('\0'))
            return false;
        for (const QByteArray& part : name.split('/'))
            if (part == "..") return false;
    }
    return true;
}

}  // namespace dravik_update
