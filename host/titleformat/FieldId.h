#pragma once

// The fields the language knows by name. A pattern's field names are resolved to
// these ids when it is compiled; a name that is none of them reads the tag of
// that name instead (%mood% is the "mood" tag).

#include <cstdint>
#include <optional>
#include <string_view>

namespace titleformat {

enum class FieldId : uint8_t {
    // tags, with the usual fallbacks
    Artist,       // artist, else album artist
    AlbumArtist,  // album artist, else artist
    TrackArtist,  // artist when it differs from the album artist
    Title,        // title, else the file name without extension
    Album,
    Date,
    Genre,
    Comment,
    Composer,
    Performer,
    TrackNumber,  // at least two digits: "03"
    TotalTracks,
    DiscNumber,
    TotalDiscs,
    // technical
    Length,  // "m:ss" or "h:mm:ss"
    LengthSeconds,
    Codec,
    Bitrate,     // kbps
    SampleRate,  // Hz
    Channels,    // "mono", "stereo", "N channels"
    BitsPerSample,
    // file
    Path,      // full native path
    FileName,  // without extension
    FileNameExt,
    DirectoryName,    // name of the folder holding the file
    FileSize,         // bytes
    FileSizeNatural,  // "4.2 MB"
    Subsong,
    // statistics
    PlayCount,
    FirstPlayed,  // "YYYY-MM-DD hh:mm:ss", local time
    LastPlayed,
    Added,
    Rating,
    // the formatting context
    PlaybackTime,  // only while formatting the playing track
    PlaybackTimeSeconds,
    PlaybackTimeRemaining,
    PlaybackTimeRemainingSeconds,
    IsPlaying,  // flag: "1" or nothing
    IsPaused,   // flag
    ListIndex,  // 1-based, zero-padded to the width of list_total
    ListTotal,

    Count
};

inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(FieldId::Count);

// Case-insensitive; nullopt for a name that is not a built-in field.
std::optional<FieldId> fieldIdFromName(std::string_view name);

// The canonical lower-case name ("album artist").
std::string_view fieldName(FieldId id);

// A flag field is either set ("1") or empty; unset it prints nothing, not "?".
bool isFlagField(FieldId id);

}  // namespace titleformat
