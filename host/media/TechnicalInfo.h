#pragma once

// What a track's audio is, as the decoder sees it when it opens the file.

#include <string>

namespace media {

struct TechnicalInfo {
    // Seconds; 0 or less when the container does not tell.
    double length = 0.0;
    unsigned sampleRate = 0;
    unsigned channels = 0;
    // The name users know: "FLAC", "MP3", "Vorbis", "AAC", "PCM", ...
    std::string codec;
    // Average over the audio data in kbit/s; 0 when unknown.
    unsigned bitrate = 0;
    // Stored sample width for lossless and PCM audio; 0 for lossy codecs.
    unsigned bitsPerSample = 0;
    bool lossless = false;
    bool seekable = false;
};

}  // namespace media
