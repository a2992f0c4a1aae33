#include "TrackFields.h"

#include <algorithm>
#include <cmath>

#include "TextFormat.h"
#include "Utf8.h"

namespace titleformat {

namespace {

bool hasValue(const std::vector<std::string>* values) {
    if (!values) return false;
    for (const auto& v : *values) {
        if (!v.empty()) return true;
    }
    return false;
}

// Multiple values read as one text, joined the way players list them.
void appendJoined(const std::vector<std::string>& values, std::string& out) {
    bool first = true;
    for (const auto& v : values) {
        if (v.empty()) continue;
        if (!first) out += ", ";
        out += v;
        first = false;
    }
}

std::string_view fileNameOf(std::string_view path) {
    auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A leading dot marks a hidden file, not an extension.
std::string_view stemOf(std::string_view name) {
    auto dot = name.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

int64_t roundedSeconds(double seconds) { return static_cast<int64_t>(std::floor(seconds + 0.5)); }

std::size_t digitCount(std::size_t n) {
    std::size_t digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

void TrackInfo::addTag(std::string_view name, std::string value) {
    std::string lower(name);
    asciiLowerInPlace(lower);
    for (auto& t : tags) {
        if (t.name == lower) {
            t.values.push_back(std::move(value));
            return;
        }
    }
    tags.push_back(Tag{std::move(lower), {std::move(value)}});
}

const std::vector<std::string>* TrackInfo::tag(std::string_view lowerName) const {
    for (const auto& t : tags) {
        if (t.name == lowerName) return &t.values;
    }
    return nullptr;
}

bool TrackFields::appendTag(std::string_view name, std::string& out) const {
    const auto* values = m_track.tag(name);
    if (!hasValue(values)) return false;
    appendJoined(*values, out);
    return true;
}

// "3/12" style tags: the part before or after the slash of the first value.
bool TrackFields::appendNumberPart(std::string_view tagName, bool beforeSlash, std::string& out) const {
    const auto* values = m_track.tag(tagName);
    if (!values || values->empty()) return false;
    std::string_view v = values->front();
    auto slash = v.find('/');
    if (beforeSlash) {
        v = trimmed(slash == std::string_view::npos ? v : v.substr(0, slash));
    } else {
        v = slash == std::string_view::npos ? std::string_view() : trimmed(v.substr(slash + 1));
    }
    if (v.empty()) return false;
    out += v;
    return true;
}

bool TrackFields::field(FieldId id, std::string& out) const {
    const TrackInfo& t = m_track;
    switch (id) {
        case FieldId::Artist:
            return appendTag("artist", out) || appendTag("album artist", out);
        case FieldId::AlbumArtist:
            return appendTag("album artist", out) || appendTag("artist", out);
        case FieldId::TrackArtist: {
            const auto* artist = t.tag("artist");
            const auto* albumArtist = t.tag("album artist");
            if (!hasValue(artist) || !hasValue(albumArtist) || *artist == *albumArtist) return false;
            appendJoined(*artist, out);
            return true;
        }
        case FieldId::Title: {
            if (appendTag("title", out)) return true;
            auto stem = stemOf(fileNameOf(t.path));
            if (stem.empty()) return false;
            out += stem;
            return true;
        }
        case FieldId::Album:
            return appendTag("album", out);
        case FieldId::Date:
            return appendTag("date", out);
        case FieldId::Genre:
            return appendTag("genre", out);
        case FieldId::Comment:
            return appendTag("comment", out);
        case FieldId::Composer:
            return appendTag("composer", out);
        case FieldId::Performer:
            return appendTag("performer", out);
        case FieldId::TrackNumber: {
            std::size_t start = out.size();
            if (!appendNumberPart("tracknumber", true, out)) return false;
            if (out.size() - start == 1 && allDigits(std::string_view(out).substr(start)))
                out.insert(start, 1, '0');
            return true;
        }
        case FieldId::TotalTracks:
            return appendTag("totaltracks", out) || appendNumberPart("tracknumber", false, out);
        case FieldId::DiscNumber:
            return appendNumberPart("discnumber", true, out);
        case FieldId::TotalDiscs:
            return appendTag("totaldiscs", out) || appendNumberPart("discnumber", false, out);
        case FieldId::Length:
            if (!(t.length > 0)) return false;
            appendDuration(roundedSeconds(t.length), out);
            return true;
        case FieldId::LengthSeconds:
            if (!(t.length > 0)) return false;
            appendInt(roundedSeconds(t.length), out);
            return true;
        case FieldId::Codec:
            if (t.codec.empty()) return false;
            out += t.codec;
            return true;
        case FieldId::Bitrate:
            if (t.bitrate == 0) return false;
            appendInt(t.bitrate, out);
            return true;
        case FieldId::SampleRate:
            if (t.sampleRate == 0) return false;
            appendInt(t.sampleRate, out);
            return true;
        case FieldId::Channels:
            if (t.channels == 0) return false;
            if (t.channels == 1) {
                out += "mono";
            } else if (t.channels == 2) {
                out += "stereo";
            } else {
                appendInt(t.channels, out);
                out += " channels";
            }
            return true;
        case FieldId::BitsPerSample:
            if (t.bitsPerSample == 0) return false;
            appendInt(t.bitsPerSample, out);
            return true;
        case FieldId::Path:
            if (t.path.empty()) return false;
            out += t.path;
            return true;
        case FieldId::FileName:
        case FieldId::FileNameExt: {
            auto name = fileNameOf(t.path);
            if (id == FieldId::FileName) name = stemOf(name);
            if (name.empty()) return false;
            out += name;
            return true;
        }
        case FieldId::DirectoryName: {
            std::string_view path = t.path;
            auto slash = path.find_last_of('/');
            if (slash == std::string_view::npos) return false;
            auto dir = fileNameOf(path.substr(0, slash));
            if (dir.empty()) return false;
            out += dir;
            return true;
        }
        case FieldId::FileSize:
            if (t.fileSize < 0) return false;
            appendInt(t.fileSize, out);
            return true;
        case FieldId::FileSizeNatural:
            if (t.fileSize < 0) return false;
            appendByteCount(static_cast<uint64_t>(t.fileSize), out);
            return true;
        case FieldId::Subsong:
            appendInt(t.subsong, out);
            return true;
        case FieldId::PlayCount:
            appendInt(t.playCount, out);
            return true;
        case FieldId::FirstPlayed:
        case FieldId::LastPlayed:
        case FieldId::Added: {
            int64_t when = id == FieldId::FirstPlayed  ? t.firstPlayed
                           : id == FieldId::LastPlayed ? t.lastPlayed
                                                       : t.added;
            if (when <= 0) return false;
            appendTimestamp(when, out);
            return true;
        }
        case FieldId::Rating:
            if (t.rating == 0) return false;
            appendInt(t.rating, out);
            return true;
        case FieldId::PlaybackTime:
        case FieldId::PlaybackTimeSeconds: {
            if (!m_playing) return false;
            auto elapsed = static_cast<int64_t>(std::max(0.0, m_playing->position));
            if (id == FieldId::PlaybackTime) {
                appendDuration(elapsed, out);
            } else {
                appendInt(elapsed, out);
            }
            return true;
        }
        case FieldId::PlaybackTimeRemaining:
        case FieldId::PlaybackTimeRemainingSeconds: {
            if (!m_playing || !(t.length > 0)) return false;
            // Elapsed and remaining always add up to the shown length.
            auto elapsed = static_cast<int64_t>(std::max(0.0, m_playing->position));
            auto remaining = std::max<int64_t>(0, roundedSeconds(t.length) - elapsed);
            if (id == FieldId::PlaybackTimeRemaining) {
                appendDuration(remaining, out);
            } else {
                appendInt(remaining, out);
            }
            return true;
        }
        case FieldId::IsPlaying:
            if (!m_playing) return false;
            out += '1';
            return true;
        case FieldId::IsPaused:
            if (!m_playing || !m_playing->paused) return false;
            out += '1';
            return true;
        case FieldId::ListIndex:
            if (!m_list) return false;
            appendZeroPadded(static_cast<int64_t>(m_list->index + 1), digitCount(m_list->total), out);
            return true;
        case FieldId::ListTotal:
            if (!m_list) return false;
            appendInt(static_cast<int64_t>(m_list->total), out);
            return true;
        case FieldId::Count:
            break;
    }
    return false;
}

std::size_t TrackFields::metaCount(std::string_view name) const {
    const auto* values = m_track.tag(name);
    return values ? values->size() : 0;
}

bool TrackFields::meta(std::string_view name, std::size_t index, std::string& out) const {
    const auto* values = m_track.tag(name);
    if (!values || index >= values->size() || (*values)[index].empty()) return false;
    out += (*values)[index];
    return true;
}

bool TrackFields::info(std::string_view name, std::string& out) const {
    const TrackInfo& t = m_track;
    auto number = [&out](uint32_t v) {
        if (v == 0) return false;
        appendInt(v, out);
        return true;
    };
    if (name == "codec") return field(FieldId::Codec, out);
    if (name == "bitrate") return number(t.bitrate);
    if (name == "samplerate") return number(t.sampleRate);
    if (name == "channels") return number(t.channels);
    if (name == "bitspersample") return number(t.bitsPerSample);
    for (const auto& [key, value] : t.extraInfo) {
        if (key == name && !value.empty()) {
            out += value;
            return true;
        }
    }
    return false;
}

}  // namespace titleformat
