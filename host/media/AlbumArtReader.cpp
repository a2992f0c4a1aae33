#include "AlbumArtReader.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4coverart.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <limits>

namespace fs = std::filesystem;

namespace media {

namespace {

// Nothing larger is a cover; reading it would only stall the caller.
constexpr uintmax_t kMaxImageFileBytes = 64u << 20;

std::vector<unsigned char> bytes(const TagLib::ByteVector& data) {
    return {reinterpret_cast<const unsigned char*>(data.data()),
            reinterpret_cast<const unsigned char*>(data.data()) + data.size()};
}

// Front cover, else the first untyped picture. `typeOf` and `dataOf` read one
// entry of the format's picture list.
template <typename List, typename TypeOf, typename DataOf>
std::vector<unsigned char> pick(const List& pictures, TypeOf typeOf, DataOf dataOf) {
    constexpr int kOther = 0, kFrontCover = 3;  // same numbering in FLAC and ID3v2
    for (int wanted : {kFrontCover, kOther}) {
        for (const auto& picture : pictures) {
            if (typeOf(picture) == wanted && !dataOf(picture).isEmpty()) return bytes(dataOf(picture));
        }
    }
    return {};
}

std::vector<unsigned char> fromFlacPictures(const TagLib::List<TagLib::FLAC::Picture*>& pictures) {
    return pick(
        pictures, [](const TagLib::FLAC::Picture* p) { return int(p->type()); },
        [](const TagLib::FLAC::Picture* p) { return p->data(); });
}

std::vector<unsigned char> fromId3v2(TagLib::ID3v2::Tag* tag) {
    if (!tag) return {};
    using Apic = TagLib::ID3v2::AttachedPictureFrame;
    return pick(
        tag->frameList("APIC"),
        [](const TagLib::ID3v2::Frame* f) { return int(static_cast<const Apic*>(f)->type()); },
        [](const TagLib::ID3v2::Frame* f) { return static_cast<const Apic*>(f)->picture(); });
}

std::vector<unsigned char> fromMp4(TagLib::MP4::Tag* tag) {
    if (!tag || !tag->contains("covr")) return {};
    // MP4 pictures carry no type; the first one is the cover by convention.
    for (const auto& art : tag->item("covr").toCoverArtList()) {
        if (!art.data().isEmpty()) return bytes(art.data());
    }
    return {};
}

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<unsigned char> readImageFile(const fs::path& path) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec || size == 0 || size > kMaxImageFileBytes) return {};
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> data(size);
    if (!in.read(reinterpret_cast<char*>(data.data()), std::streamsize(size))) return {};
    return data;
}

}  // namespace

std::vector<unsigned char> AlbumArtReader::frontCover(const std::string& trackPath) {
    std::vector<unsigned char> art = embeddedFrontCover(trackPath);
    if (!art.empty()) return art;
    const std::string beside = coverFileBeside(trackPath);
    return beside.empty() ? art : readImageFile(beside);
}

std::vector<unsigned char> AlbumArtReader::embeddedFrontCover(const std::string& trackPath) {
    std::error_code ec;
    if (!fs::is_regular_file(trackPath, ec)) return {};
    TagLib::FileRef ref(trackPath.c_str(), false);
    if (ref.isNull()) return {};
    TagLib::File* file = ref.file();

    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        std::vector<unsigned char> art = fromFlacPictures(flac->pictureList());
        if (art.empty() && flac->hasXiphComment()) art = fromFlacPictures(flac->xiphComment()->pictureList());
        if (art.empty() && flac->hasID3v2Tag()) art = fromId3v2(flac->ID3v2Tag());
        return art;
    }
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) return fromId3v2(mpeg->ID3v2Tag());
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) return fromMp4(mp4->tag());
    if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag()))
        return fromFlacPictures(xiph->pictureList());
    if (auto* id3 = dynamic_cast<TagLib::ID3v2::Tag*>(file->tag())) return fromId3v2(id3);
    return {};
}

std::string AlbumArtReader::coverFileBeside(const std::string& trackPath) {
    static const char* const kStems[] = {"cover", "folder", "front"};
    static const char* const kExtensions[] = {".jpg", ".jpeg", ".png"};
    constexpr int kNone = std::numeric_limits<int>::max();

    fs::path folder = fs::path(trackPath).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return {};

    int bestRank = kNone;
    uintmax_t bestSize = 0;
    fs::path best;
    // The error-code increment: a folder changing under the scan must not throw.
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        std::error_code entryError;
        if (!entry.is_regular_file(entryError)) continue;
        const std::string name = lower(entry.path().filename().string());
        const std::string ext = lower(entry.path().extension().string());
        const std::string stem = name.substr(0, name.size() - ext.size());

        int rank = kNone;
        for (int s = 0; s < 3 && rank == kNone; ++s) {
            for (int e = 0; e < 3; ++e) {
                if (stem == kStems[s] && ext == kExtensions[e]) rank = s * 3 + e;
            }
        }
        // Windows Media Player leaves AlbumArt_{id}_Large.jpg and AlbumArtSmall.jpg;
        // the largest file is the best picture.
        const bool albumArt = stem.rfind("albumart", 0) == 0 && (ext == ".jpg" || ext == ".jpeg");
        if (rank == kNone && albumArt) rank = 9;
        if (rank == kNone || rank > bestRank) continue;

        const uintmax_t size = entry.file_size(entryError);
        if (entryError || size == 0) continue;
        const bool better = rank < bestRank || size > bestSize ||
                            (size == bestSize && entry.path().filename() < best.filename());
        if (better) {
            bestRank = rank;
            bestSize = size;
            best = entry.path();
        }
    }
    return best.string();
}

}  // namespace media
