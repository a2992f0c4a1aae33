#pragma once

// Decodes one audio stream of a local file through FFmpeg.
//
// Threads: a decoder is used by one thread at a time; its abort check may be
// raised from any other. Failures throw exception_io whose message names the
// reason and the file ("File not found: /music/a.flac"); a raised abort check
// throws exception_aborted at the next packet, or sooner while the file is read.
// Memory stays constant whatever the length of the track.

#include "audio_chunk.h"
#include "DecodedChunk.h"
#include "TechnicalInfo.h"

#include <functional>
#include <memory>
#include <string>

namespace media {

class AudioDecoder {
public:
    // Returns true once the work should stop. Must be safe to call from the
    // decoding thread; it is called several times per packet.
    using AbortCheck = std::function<bool()>;

    // Opens the container and reads the stream parameters of audio stream
    // `subsong` (0 = the first). The codec itself starts on the first read or
    // seek, so constructing a decoder only for info() stays cheap.
    explicit AudioDecoder(const std::string& path, unsigned subsong = 0, AbortCheck abort = {});
    ~AudioDecoder();
    AudioDecoder(AudioDecoder&&) noexcept;
    AudioDecoder& operator=(AudioDecoder&&) noexcept;

    const std::string& path() const;
    unsigned subsong() const;
    // Audio streams in the file; each is a subsong.
    unsigned subsongCount() const;
    const TechnicalInfo& info() const;

    void setAbortCheck(AbortCheck abort);

    // Fills `chunk` with the next block and returns true, or returns false at the
    // end of the stream. A damaged stretch inside the stream is skipped; a stream
    // that stays undecodable throws.
    bool read(DecodedChunk& chunk);
    // The same, straight into an SDK chunk (no copy for the host's decoders).
    bool read(audio_chunk& chunk);

    // Moves to `seconds` from the start, sample-accurately where the container
    // keeps timestamps. At or past the end, the next read returns false.
    void seek(double seconds);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace media
