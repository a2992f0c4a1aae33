#include "ZipWriter.h"

#include <zlib.h>

namespace {

void put(QByteArray& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

QByteArray rawDeflate(const QByteArray& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

}  // namespace

QByteArray makeZip(const std::vector<ZipItem>& items) {
    QByteArray out, directory;
    for (const ZipItem& item : items) {
        const QByteArray stored = item.deflate ? rawDeflate(item.data) : item.data;
        const uint32_t crc =
            uint32_t(crc32(0, reinterpret_cast<const Bytef*>(item.data.constData()), uInt(item.data.size())));
        const uint32_t size = item.declaredSize.value_or(uint32_t(item.data.size()));
        const uint16_t method = item.deflate ? 8 : 0;
        const qsizetype offset = out.size();

        put(out, 0x04034b50, 4);
        put(out, 20, 2);
        put(out, 0, 2);
        put(out, method, 2);
        put(out, 0, 4);  // time and date
        put(out, crc, 4);
        put(out, uint32_t(stored.size()), 4);
        put(out, size, 4);
        put(out, uint16_t(item.name.size()), 2);
        put(out, 0, 2);
        out += item.name + stored;

        put(directory, 0x02014b50, 4);
        put(directory, (3 << 8) | 20, 2);  // made on Unix
        put(directory, 20, 2);
        put(directory, 0, 2);
        put(directory, method, 2);
        put(directory, 0, 4);
        put(directory, crc, 4);
        put(directory, uint32_t(stored.size()), 4);
        put(directory, size, 4);
        put(directory, uint16_t(item.name.size()), 2);
        put(directory, 0, 6);  // extra, comment, disk
        put(directory, 0, 2);
        put(directory, uint64_t(item.mode) << 16, 4);
        put(directory, uint32_t(offset), 4);
        directory += item.name;
    }
    const qsizetype start = out.size();
    out += directory;
    put(out, 0x06054b50, 4);
    put(out, 0, 4);
    put(out, items.size(), 2);
    put(out, items.size(), 2);
    put(out, uint32_t(directory.size()), 4);
    put(out, uint32_t(start), 4);
    put(out, 0, 2);
    return out;
}

std::vector<ZipItem> bundleItems(const QByteArray& name, const QByteArray& library, const QByteArray& root) {
    const QByteArray bundle = root + name + ".component/";
    std::vector<ZipItem> items;
    if (!root.isEmpty()) items.push_back({root, {}, 040755});
    items.push_back({bundle, {}, 040755});
    items.push_back({bundle + name + ".so", library});
    return items;
}
