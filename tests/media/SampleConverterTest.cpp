#include "SampleConverter.h"

#include <gtest/gtest.h>

namespace {

template <typename T>
std::vector<double> convert(AVSampleFormat format, const std::vector<std::vector<T>>& planes,
                            unsigned channels) {
    std::vector<const uint8_t*> pointers;
    for (const auto& p : planes) pointers.push_back(reinterpret_cast<const uint8_t*>(p.data()));
    std::vector<double> out(planes[0].size() * planes.size());
    EXPECT_TRUE(media::SampleConverter::toDouble(format, pointers.data(), out.size() / channels, channels,
                                                 out.data()));
    return out;
}

using V = std::vector<double>;

TEST(SampleConverter, ScalesIntegersSoFullScaleIsMinusOneAndPassesFloatsThrough) {
    EXPECT_EQ(convert<uint8_t>(AV_SAMPLE_FMT_U8, {{0, 128, 255}}, 1), (V{-1, 0, 127 / 128.0}));
    EXPECT_EQ(convert<int16_t>(AV_SAMPLE_FMT_S16, {{INT16_MIN, 0, INT16_MAX, 16384}}, 2),
              (V{-1, 0, 32767 / 32768.0, 0.5}));
    // 24-bit decoders deliver their samples left-aligned in 32 bits.
    EXPECT_EQ(convert<int32_t>(AV_SAMPLE_FMT_S32, {{INT32_MIN, 0, 0x40000000}}, 1), (V{-1, 0, 0.5}));
    EXPECT_EQ(convert<int64_t>(AV_SAMPLE_FMT_S64, {{INT64_MIN, INT64_C(0x4000000000000000)}}, 1),
              (V{-1, 0.5}));
    EXPECT_EQ(convert<float>(AV_SAMPLE_FMT_FLT, {{-1.5f, 0.25f}}, 2), (V{-1.5, 0.25}));
    EXPECT_EQ(convert<double>(AV_SAMPLE_FMT_DBLP, {{0.1, 2.0}, {-0.7, 0.3}}, 2), (V{0.1, -0.7, 2.0, 0.3}));
    const uint8_t* none[] = {nullptr};
    EXPECT_FALSE(media::SampleConverter::toDouble(AV_SAMPLE_FMT_NONE, none, 1, 1, nullptr));
}

// The stereo fast path and the general one interleave alike, in channel order.
TEST(SampleConverter, InterleavesPlanarInputInChannelOrder) {
    for (unsigned channels : {1u, 2u, 3u, 6u}) {
        std::vector<std::vector<int16_t>> s16(channels);
        std::vector<std::vector<uint8_t>> u8(channels);
        V expected(5 * channels);
        for (unsigned c = 0; c < channels; ++c) {
            for (int f = 0; f < 5; ++f) {
                const int step = int(c) * 8 + f - 20;
                expected[size_t(f) * channels + c] = step / 64.0;
                s16[c].push_back(int16_t(step * 512));
                u8[c].push_back(uint8_t(128 + step * 2));
            }
        }
        EXPECT_EQ(convert(AV_SAMPLE_FMT_S16P, s16, channels), expected) << channels;
        EXPECT_EQ(convert(AV_SAMPLE_FMT_U8P, u8, channels), expected) << channels;
    }
}

}  // namespace
