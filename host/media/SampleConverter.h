#pragma once

// Turns one decoded FFmpeg frame's samples, in any sample format, into
// interleaved doubles in -1..+1 (floating-point input passes through unscaled).

extern "C" {
#include <libavutil/samplefmt.h>
}

#include <cstddef>
#include <cstdint>

namespace media {

class SampleConverter {
public:
    // `planes` holds one pointer per channel for planar formats, one for packed.
    // Returns false for a format it does not know; `out` is then untouched.
    static bool toDouble(AVSampleFormat format, const uint8_t* const* planes, size_t frames,
                         unsigned channels, double* out);
};

}  // namespace media
