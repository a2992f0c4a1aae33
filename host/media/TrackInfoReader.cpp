#include "TrackInfoReader.h"

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

#include <sys/stat.h>

namespace media {

TrackInfo TrackInfoReader::read(const std::string& path, unsigned subsong, AudioDecoder::AbortCheck abort) {
    TrackInfo info;
    {
        // Opened first: it reports a missing or broken file more clearly than TagLib.
        AudioDecoder decoder(path, subsong, std::move(abort));
        info.technical = decoder.info();
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) info.fileSize = uint64_t(st.st_size);
    info.tags = readTags(path);
    return info;
}

TrackInfo::Tags TrackInfoReader::readTags(const std::string& path) {
    // TagLib would wait forever on a FIFO.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    TagLib::FileRef ref(path.c_str(), false);
    if (ref.isNull()) return {};
    TrackInfo::Tags raw;
    for (const auto& [key, values] : ref.file()->properties()) {
        auto& slot = raw[key.to8Bit(true)];
        for (const auto& v : values) slot.push_back(v.to8Bit(true));
    }
    return TrackInfo::normalized(std::move(raw));
}

}  // namespace media
