#include "AudioDecoder.h"
#include "exceptions.h"
#include "MediaFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using media::AudioDecoder;
using media::DecodedChunk;

namespace {

struct Decoded {
    std::vector<double> samples;  // interleaved
    unsigned rate = 0, channels = 0;
    size_t frames() const { return samples.size() / channels; }
};

Decoded decodeAll(AudioDecoder& decoder) {
    Decoded out{{}, decoder.info().sampleRate, decoder.info().channels};
    DecodedChunk chunk;
    while (decoder.read(chunk)) {
        EXPECT_EQ(chunk.sampleRate(), out.rate);
        EXPECT_EQ(chunk.channels(), out.channels);
        out.samples.insert(out.samples.end(), chunk.samples().begin(), chunk.samples().end());
    }
    EXPECT_TRUE(chunk.empty());
    return out;
}

Decoded decodeAll(const std::string& path) {
    AudioDecoder decoder(path);
    return decodeAll(decoder);
}

struct FormatCase {
    const char* file;
    const char* codec;
    unsigned rate, channels;
    unsigned bits;            // 0 for lossy codecs
    double sampleTolerance;   // lossless: the quantisation step; lossy: 0
    unsigned frameTolerance;  // lossy: one codec frame of encoder padding
};

class DecodesFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DecodesFormat, ReportsAndDeliversTheSignalInEveryChannel) {
    const FormatCase& c = GetParam();
    AudioDecoder decoder(MediaFixtures::path(c.file));
    const media::TechnicalInfo info = decoder.info();
    EXPECT_EQ(info.codec, c.codec);
    EXPECT_EQ(info.sampleRate, c.rate);
    EXPECT_EQ(info.channels, c.channels);
    EXPECT_EQ(info.bitsPerSample, c.bits);
    EXPECT_EQ(info.lossless, c.bits != 0);
    EXPECT_TRUE(info.seekable);
    EXPECT_GT(info.bitrate, 0u);
    EXPECT_NEAR(info.length, 2.0, (c.frameTolerance + 1.0) / c.rate);

    const Decoded d = decodeAll(decoder);
    // Frames and stated length agree, so rate × length sizes a scan right.
    EXPECT_NEAR(double(d.frames()), c.rate * info.length, c.frameTolerance + 1.0);
    for (unsigned ch = 0; ch < c.channels; ++ch) {
        double sum = 0, worst = 0;
        for (size_t f = 0; f < d.frames(); ++f) {
            const double x = d.samples[f * c.channels + ch];
            const double want =
                MediaFixtures::kAmplitude[ch] * std::sin(2 * M_PI * MediaFixtures::kHz[ch] * f / c.rate);
            if (f >= c.rate / 4 && f < c.rate * 7 / 4) sum += x * x;  // away from codec transients
            worst = std::max(worst, std::fabs(x - want));
        }
        // A sine of amplitude A has an RMS of A/√2; lossy codecs get 5 %.
        const double rms = std::sqrt(sum / (c.rate * 1.5)),
                     expected = MediaFixtures::kAmplitude[ch] / std::sqrt(2.0);
        EXPECT_NEAR(rms, expected, expected * (c.bits ? 0.001 : 0.05)) << "channel " << ch;
        if (c.bits) {
            EXPECT_LE(worst, c.sampleTolerance) << "channel " << ch;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Media, DecodesFormat,
    ::testing::Values(FormatCase{"stereo.flac", "FLAC", 44100, 2, 16, 1.0 / 32768, 0},
                      FormatCase{"stereo24.flac", "FLAC", 96000, 2, 24, 1.0 / 8388608, 0},
                      FormatCase{"stereo.wav", "PCM", 44100, 2, 16, 1.0 / 32768, 0},
                      FormatCase{"mono_u8.wav", "PCM", 48000, 1, 8, 1.0 / 128, 0},
                      FormatCase{"mono_f32.wav", "PCM", 48000, 1, 32, 1e-7, 0},
                      FormatCase{"stereo_alac.m4a", "ALAC", 44100, 2, 16, 1.0 / 32768, 0},
                      FormatCase{"stereo.mp3", "MP3", 44100, 2, 0, 0, 1152},
                      FormatCase{"stereo.ogg", "Vorbis", 44100, 2, 0, 0, 0},
                      FormatCase{"stereo.opus", "Opus", 48000, 2, 0, 0, 0},
                      FormatCase{"stereo.m4a", "AAC", 44100, 2, 0, 0, 1024}),
    [](const auto& info) {
        std::string name = info.param.file;
        std::replace_if(
            name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
        return name;
    });

TEST(AudioDecoder, ReusesOneBufferForEveryChunk) {
    for (const char* file : {"stereo.flac", "stereo.mp3"}) {
        AudioDecoder decoder(MediaFixtures::path(file));
        DecodedChunk chunk;
        std::set<const double*> buffers;
        while (decoder.read(chunk)) buffers.insert(chunk.data());
        EXPECT_EQ(buffers.size(), 1u) << file;
    }
}

// The decoder drops what lies before the target in the block it lands in, so
// lossless files resume on exactly the requested frame (read here into the
// SDK's chunk, the host's other way in).
TEST(AudioDecoder, SeeksSampleAccurately) {
    for (const char* file : {"stereo.flac", "stereo.wav", "stereo_alac.m4a"}) {
        const Decoded reference = decodeAll(MediaFixtures::path(file));
        AudioDecoder decoder(MediaFixtures::path(file));
        audio_chunk_impl chunk;
        for (double target : {1.0, 0.3, 1.7031, 0.0, -5.0}) {
            decoder.seek(target);
            ASSERT_TRUE(decoder.read(chunk));
            const auto from = reference.samples.begin() + std::llround(std::max(target, 0.0) * 44100) * 2;
            EXPECT_TRUE(std::equal(chunk.get_data(), chunk.get_data() + chunk.get_sample_count() * 2, from))
                << file << " at " << target;
        }
        for (double past : {2.0, 1e9}) {
            decoder.seek(past);
            EXPECT_FALSE(decoder.read(chunk)) << file;
            EXPECT_TRUE(chunk.is_empty());
        }
    }
    // Lossy files land within a codec frame: what follows is the rest of the track.
    for (const char* file : {"stereo.mp3", "stereo.ogg", "stereo.opus", "stereo.m4a"}) {
        AudioDecoder decoder(MediaFixtures::path(file));
        decoder.seek(1.25);
        const Decoded rest = decodeAll(decoder);
        EXPECT_NEAR(double(rest.frames()) / rest.rate, decoder.info().length - 1.25, 0.03) << file;
    }
}

TEST(AudioDecoder, EachAudioStreamIsASubsong) {
    const std::string path = MediaFixtures::path("two_streams.mka");
    AudioDecoder first(path, 0), second(path, 1);
    EXPECT_EQ(first.subsongCount(), 2u);
    EXPECT_EQ(decodeAll(first).frames(), 44100u);
    EXPECT_EQ(decodeAll(second).frames(), 22050u);
    EXPECT_THROW(AudioDecoder(path, 2), exception_io);
}

}  // namespace
