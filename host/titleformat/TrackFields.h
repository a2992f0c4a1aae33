#pragma once

// A plain record of what the host knows about one track, and the field source
// over it that carries the language's fallbacks (album artist → artist, title →
// file name, two-digit track numbers, ...). The host's track handle keeps a
// TrackInfo and formats through a TrackFields built on the stack per call.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FieldSource.h"

namespace titleformat {

struct Tag {
    std::string name;  // lower-case
    std::vector<std::string> values;
};

struct TrackInfo {
    std::string path;  // native path of the file
    uint32_t subsong = 0;
    double length = 0;      // seconds; 0 or less when unknown
    int64_t fileSize = -1;  // bytes; negative when unknown

    std::vector<Tag> tags;

    std::string codec;        // "FLAC", "MP3", ...
    uint32_t bitrate = 0;     // kbps; 0 when unknown
    uint32_t sampleRate = 0;  // Hz
    uint32_t channels = 0;
    uint32_t bitsPerSample = 0;
    // Further technical info for $info(name): lower-case name → value.
    std::vector<std::pair<std::string, std::string>> extraInfo;

    uint32_t playCount = 0;
    int64_t firstPlayed = 0;  // Unix seconds; 0 = never
    int64_t lastPlayed = 0;
    int64_t added = 0;
    uint32_t rating = 0;  // 1 to 5; 0 = unrated

    // Appends a value to the tag, creating it; the name is stored lower-case.
    void addTag(std::string_view name, std::string value);
    // The tag's values, or null when the track has no such tag.
    const std::vector<std::string>* tag(std::string_view lowerName) const;
};

// Set only when formatting the playing track.
struct PlaybackState {
    double position = 0;  // seconds
    bool paused = false;
};

struct ListPosition {
    std::size_t index = 0;  // 0-based
    std::size_t total = 0;
};

class TrackFields final : public FieldSource {
public:
    explicit TrackFields(const TrackInfo& track, const PlaybackState* playing = nullptr,
                         const ListPosition* list = nullptr)
        : m_track(track), m_playing(playing), m_list(list) {}

    bool field(FieldId id, std::string& out) const override;
    std::size_t metaCount(std::string_view name) const override;
    bool meta(std::string_view name, std::size_t index, std::string& out) const override;
    bool info(std::string_view name, std::string& out) const override;

private:
    bool appendTag(std::string_view name, std::string& out) const;
    bool appendNumberPart(std::string_view tagName, bool beforeSlash, std::string& out) const;

    const TrackInfo& m_track;
    const PlaybackState* m_playing;
    const ListPosition* m_list;
};

}  // namespace titleformat
