#pragma once

// Writes the common tags and an embedded front cover into FLAC, MP3 (ID3v2),
// Ogg Vorbis/Opus/FLAC, MP4/M4A, WAV and AIFF files through TagLib. Used by the
// demo library generator and by tests.
//
// Threads: any, one writer per file at a time. Failures throw exception_io; a
// file that does not open as audio is refused untouched.

#include <string>
#include <vector>

namespace media {

class TagWriter {
public:
    struct Tags {
        std::string title;
        std::string artist;
        std::string album;
        std::string albumArtist;
        std::string date;
        std::string genre;
        unsigned trackNumber = 0;
        unsigned totalTracks = 0;  // kept only with a track number
        unsigned discNumber = 0;
        unsigned totalDiscs = 0;  // kept only with a disc number
    };

    // Sets every field of `tags`: an empty text or a 0 removes that field from
    // the file. Tags not named here are left as they are.
    static void write(const std::string& path, const Tags& tags);

    // Replaces the embedded front cover with `image`, which must be JPEG or PNG.
    static void writeFrontCover(const std::string& path, const std::vector<unsigned char>& image);
};

}  // namespace media
