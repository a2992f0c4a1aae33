#include "FieldId.h"

#include <array>

#include "Utf8.h"

namespace titleformat {

namespace {

constexpr std::array<std::string_view, kFieldCount> kNames = {
    "artist",
    "album artist",
    "track artist",
    "title",
    "album",
    "date",
    "genre",
    "comment",
    "composer",
    "performer",
    "tracknumber",
    "totaltracks",
    "discnumber",
    "totaldiscs",
    "length",
    "length_seconds",
    "codec",
    "bitrate",
    "samplerate",
    "channels",
    "bitspersample",
    "path",
    "filename",
    "filename_ext",
    "directoryname",
    "filesize",
    "filesize_natural",
    "subsong",
    "play_count",
    "first_played",
    "last_played",
    "added",
    "rating",
    "playback_time",
    "playback_time_seconds",
    "playback_time_remaining",
    "playback_time_remaining_seconds",
    "isplaying",
    "ispaused",
    "list_index",
    "list_total",
};

}  // namespace

std::optional<FieldId> fieldIdFromName(std::string_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (asciiEqualsIgnoreCase(kNames[i], name)) return static_cast<FieldId>(i);
    }
    return std::nullopt;
}

std::string_view fieldName(FieldId id) {
    auto i = static_cast<std::size_t>(id);
    return i < kNames.size() ? kNames[i] : std::string_view();
}

bool isFlagField(FieldId id) { return id == FieldId::IsPlaying || id == FieldId::IsPaused; }

}  // namespace titleformat
