#pragma once

// Finds a track's front cover: the picture embedded in its tags, else an image
// file beside it (cover, folder, front, albumart*).
//
// Threads: any. Nothing found is an empty result, never an exception: a
// missing or unreadable file simply has no art.

#include <string>
#include <vector>

namespace media {

class AlbumArtReader {
public:
    // Embedded cover first, then the file beside the track.
    static std::vector<unsigned char> frontCover(const std::string& trackPath);

    // FLAC pictures, ID3v2 APIC (MP3, WAV, AIFF), Vorbis comment pictures (Ogg)
    // and MP4 "covr". A picture marked as front cover wins; an untyped ("other")
    // one is taken when there is no such mark, since many taggers write those.
    static std::vector<unsigned char> embeddedFrontCover(const std::string& trackPath);

    // Path of the image beside the track that serves as its cover, or empty.
    // Names are matched case-insensitively, in this order of preference:
    // cover, folder, front (.jpg, .jpeg, .png), then the largest albumart*.jpg.
    static std::string coverFileBeside(const std::string& trackPath);
};

}  // namespace media
