#include "SampleConverter.h"

#include <cstring>

namespace media {

namespace {

// Integer formats are scaled by 2^(bits-1) so that full scale maps to exactly -1
// and a hair under +1, matching what every other decoder front end does.
constexpr double kScale8 = 1.0 / 128.0;
constexpr double kScale16 = 1.0 / 32768.0;
constexpr double kScale32 = 1.0 / 2147483648.0;
constexpr double kScale64 = 1.0 / 9223372036854775808.0;

// Samples are read with memcpy-free loads through typed pointers; FFmpeg aligns
// every plane to at least the sample size.
template <typename T, typename F>
void packed(const uint8_t* in, size_t count, double* out, F convert) {
    const T* src = reinterpret_cast<const T*>(in);
    for (size_t i = 0; i < count; ++i) out[i] = convert(src[i]);
}

template <typename T, typename F>
void planar(const uint8_t* const* planes, size_t frames, unsigned channels, double* out, F convert) {
    if (channels == 2) {
        const T* l = reinterpret_cast<const T*>(planes[0]);
        const T* r = reinterpret_cast<const T*>(planes[1]);
        for (size_t f = 0; f < frames; ++f) {
            out[2 * f] = convert(l[f]);
            out[2 * f + 1] = convert(r[f]);
        }
        return;
    }
    for (unsigned c = 0; c < channels; ++c) {
        const T* src = reinterpret_cast<const T*>(planes[c]);
        double* dst = out + c;
        for (size_t f = 0; f < frames; ++f) dst[f * channels] = convert(src[f]);
    }
}

const auto fromU8 = [](uint8_t v) { return (double(v) - 128.0) * kScale8; };
const auto fromS16 = [](int16_t v) { return double(v) * kScale16; };
const auto fromS32 = [](int32_t v) { return double(v) * kScale32; };
const auto fromS64 = [](int64_t v) { return double(v) * kScale64; };
const auto fromFlt = [](float v) { return double(v); };

}  // namespace

bool SampleConverter::toDouble(AVSampleFormat format, const uint8_t* const* planes, size_t frames,
                               unsigned channels, double* out) {
    const size_t count = frames * channels;
    switch (format) {
        case AV_SAMPLE_FMT_U8:
            packed<uint8_t>(planes[0], count, out, fromU8);
            return true;
        case AV_SAMPLE_FMT_S16:
            packed<int16_t>(planes[0], count, out, fromS16);
            return true;
        case AV_SAMPLE_FMT_S32:
            packed<int32_t>(planes[0], count, out, fromS32);
            return true;
        case AV_SAMPLE_FMT_S64:
            packed<int64_t>(planes[0], count, out, fromS64);
            return true;
        case AV_SAMPLE_FMT_FLT:
            packed<float>(planes[0], count, out, fromFlt);
            return true;
        case AV_SAMPLE_FMT_DBL:
            std::memcpy(out, planes[0], count * sizeof(double));
            return true;
        case AV_SAMPLE_FMT_U8P:
            planar<uint8_t>(planes, frames, channels, out, fromU8);
            return true;
        case AV_SAMPLE_FMT_S16P:
            planar<int16_t>(planes, frames, channels, out, fromS16);
            return true;
        case AV_SAMPLE_FMT_S32P:
            planar<int32_t>(planes, frames, channels, out, fromS32);
            return true;
        case AV_SAMPLE_FMT_S64P:
            planar<int64_t>(planes, frames, channels, out, fromS64);
            return true;
        case AV_SAMPLE_FMT_FLTP:
            planar<float>(planes, frames, channels, out, fromFlt);
            return true;
        case AV_SAMPLE_FMT_DBLP:
            planar<double>(planes, frames, channels, out, [](double v) { return v; });
            return true;
        default:
            return false;
    }
}

}  // namespace media
