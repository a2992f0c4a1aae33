#include "TagWriter.h"

#include "AudioDecoder.h"
#include "exceptions.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4coverart.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace media {

namespace {

TagLib::String utf8(const std::string& text) { return TagLib::String(text, TagLib::String::UTF8); }

TagLib::FileRef openForWriting(const std::string& path) {
    // TagLib would happily put a tag in front of any bytes named .mp3; only a
    // file that opens as audio gets one. Throws the decoder's clear reasons.
    AudioDecoder check(path);
    TagLib::FileRef ref(path.c_str(), false);
    if (ref.isNull()) throw exception_io("Cannot write tags (unsupported or unreadable file): " + path);
    if (ref.file()->readOnly()) throw exception_io("Cannot write tags (read-only file): " + path);
    return ref;
}

void save(TagLib::File* file, const std::string& path) {
    bool ok;
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        // Keep an existing ID3v1 or APE tag; never add one that was not there.
        ok = mpeg->save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone, TagLib::ID3v2::v4,
                        TagLib::File::DoNotDuplicate);
    } else {
        ok = file->save();
    }
    if (!ok) throw exception_io("Cannot write tags (save failed): " + path);
}

// Vorbis comments keep totals in fields of their own; the others write "3/12".
bool separateTotals(TagLib::File* file) {
    return dynamic_cast<TagLib::FLAC::File*>(file) || dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag());
}

void setNumber(TagLib::PropertyMap& props, bool separate, const char* key, const char* totalKey,
               const char* otherTotalKey, unsigned number, unsigned total) {
    props.erase(totalKey);
    props.erase(otherTotalKey);
    if (number == 0) {
        props.erase(key);
        return;
    }
    std::string value = std::to_string(number);
    if (total > 0) {
        if (separate)
            props.replace(totalKey, TagLib::StringList(utf8(std::to_string(total))));
        else
            value += "/" + std::to_string(total);
    }
    props.replace(key, TagLib::StringList(utf8(value)));
}

const char* imageMimeType(const std::vector<unsigned char>& image) {
    static const unsigned char kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.size() >= 3 && image[0] == 0xFF && image[1] == 0xD8 && image[2] == 0xFF) return "image/jpeg";
    if (image.size() >= sizeof kPng && std::equal(std::begin(kPng), std::end(kPng), image.begin()))
        return "image/png";
    return nullptr;
}

TagLib::FLAC::Picture* flacPicture(const TagLib::ByteVector& data, const char* mime) {
    auto* picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType(mime);
    picture->setData(data);
    return picture;
}

void replaceApic(TagLib::ID3v2::Tag* tag, const TagLib::ByteVector& data, const char* mime) {
    const TagLib::ID3v2::FrameList frames = tag->frameList("APIC");
    for (auto* frame : frames) {
        auto* apic = static_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (apic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) tag->removeFrame(apic);
    }
    auto* apic = new TagLib::ID3v2::AttachedPictureFrame;
    apic->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    apic->setMimeType(mime);
    apic->setPicture(data);
    tag->addFrame(apic);
}

template <typename Owner>
void replaceFlacPictures(Owner* owner, const TagLib::ByteVector& data, const char* mime) {
    for (auto* picture : owner->pictureList()) {
        if (picture->type() == TagLib::FLAC::Picture::FrontCover) owner->removePicture(picture);
    }
    owner->addPicture(flacPicture(data, mime));
}

}  // namespace

void TagWriter::write(const std::string& path, const Tags& tags) {
    TagLib::FileRef ref = openForWriting(path);
    TagLib::File* file = ref.file();
    TagLib::PropertyMap props = file->properties();
    const auto setText = [&](const char* key, const std::string& value) {
        if (value.empty())
            props.erase(key);
        else
            props.replace(key, TagLib::StringList(utf8(value)));
    };
    setText("TITLE", tags.title);
    setText("ARTIST", tags.artist);
    setText("ALBUM", tags.album);
    setText("ALBUMARTIST", tags.albumArtist);
    setText("DATE", tags.date);
    setText("GENRE", tags.genre);
    const bool separate = separateTotals(file);
    setNumber(props, separate, "TRACKNUMBER", "TRACKTOTAL", "TOTALTRACKS", tags.trackNumber,
              tags.totalTracks);
    setNumber(props, separate, "DISCNUMBER", "DISCTOTAL", "TOTALDISCS", tags.discNumber, tags.totalDiscs);
    file->setProperties(props);
    save(file, path);
}

void TagWriter::writeFrontCover(const std::string& path, const std::vector<unsigned char>& image) {
    const char* mime = imageMimeType(image);
    if (!mime) throw exception_io("Cannot embed cover art (not a JPEG or PNG image): " + path);
    const TagLib::ByteVector data(reinterpret_cast<const char*>(image.data()),
                                  static_cast<unsigned>(image.size()));

    TagLib::FileRef ref = openForWriting(path);
    TagLib::File* file = ref.file();
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        replaceFlacPictures(flac, data, mime);
    } else if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        replaceApic(mpeg->ID3v2Tag(true), data, mime);
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        const auto format =
            std::string(mime) == "image/png" ? TagLib::MP4::CoverArt::PNG : TagLib::MP4::CoverArt::JPEG;
        TagLib::MP4::CoverArtList covers;
        covers.append(TagLib::MP4::CoverArt(format, data));
        mp4->tag()->setItem("covr", TagLib::MP4::Item(covers));
    } else if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag())) {
        replaceFlacPictures(xiph, data, mime);
    } else if (auto* id3 = dynamic_cast<TagLib::ID3v2::Tag*>(file->tag())) {
        replaceApic(id3, data, mime);  // WAV, AIFF
    } else {
        throw exception_io("Cannot embed cover art in this format: " + path);
    }
    save(file, path);
}

}  // namespace media
