#pragma once

// Reads what the host shows of a track: tags through TagLib, technical info
// through the decoder's open step (nothing is decoded), and the file size.
//
// Threads: any; calls share nothing. Cost: two header reads per file, cheap
// enough for scanning a library of thousands of tracks.

#include "AudioDecoder.h"
#include "TrackInfo.h"

#include <string>

namespace media {

class TrackInfoReader {
public:
    // Throws exception_io when the audio cannot be opened (the track is then not
    // playable), exception_aborted when `abort` is raised. Unreadable tags alone
    // are no failure: the track simply has none.
    static TrackInfo read(const std::string& path, unsigned subsong = 0, AudioDecoder::AbortCheck abort = {});

    // Normalised tags; empty when the file has none or TagLib cannot parse it.
    static TrackInfo::Tags readTags(const std::string& path);
};

}  // namespace media
