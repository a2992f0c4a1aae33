#pragma once

// Everything the host knows about one track without decoding it: its tags,
// its technical info and its file size.

#include "TechnicalInfo.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace media {

class TrackInfo {
public:
    // Tag names are upper case ("TITLE", "ALBUMARTIST"); a tag may hold several
    // values. Track and disc numbers are split: "3/12" is kept as TRACKNUMBER 3
    // and TOTALTRACKS 12, whatever the file format's own convention.
    using Tags = std::map<std::string, std::vector<std::string>, std::less<>>;

    Tags tags;
    TechnicalInfo technical;
    uint64_t fileSize = 0;

    // The first value of a tag, or the empty text.
    std::string tag(std::string_view name) const;
    const std::vector<std::string>& values(std::string_view name) const;
    bool has(std::string_view name) const;

    std::string title() const { return tag("TITLE"); }
    std::string artist() const { return tag("ARTIST"); }
    std::string album() const { return tag("ALBUM"); }
    std::string albumArtist() const { return tag("ALBUMARTIST"); }
    std::string date() const { return tag("DATE"); }
    std::string genre() const { return tag("GENRE"); }
    std::string comment() const { return tag("COMMENT"); }
    std::string composer() const { return tag("COMPOSER"); }
    // 0 when absent or not a number.
    unsigned year() const;
    unsigned trackNumber() const { return number("TRACKNUMBER"); }
    unsigned totalTracks() const { return number("TOTALTRACKS"); }
    unsigned discNumber() const { return number("DISCNUMBER"); }
    unsigned totalDiscs() const { return number("TOTALDISCS"); }

    // Brings tags from any format to the names and shapes described above.
    static Tags normalized(Tags raw);

private:
    unsigned number(std::string_view name) const;
};

}  // namespace media
