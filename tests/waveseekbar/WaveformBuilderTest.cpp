#include "WaveformBuilder.h"
#include "WaveformCache.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace wave {
namespace {

// Feeds `frames` frames of a constant per-channel value in chunks of `chunk`.
void feed(WaveformBuilder& b, size_t frames, unsigned channels, double value, unsigned rate,
          size_t chunk = 1000) {
    std::vector<double> buf(chunk * channels, value);
    for (size_t done = 0; done < frames;) {
        const size_t n = std::min(chunk, frames - done);
        b.addFrames(buf.data(), n, channels, rate);
        done += n;
    }
}

TEST(WaveformBuilder, ExactTrackFillsEveryBinAndTheLastFromItsBoundary) {
    // 1 s at 20480 Hz: exactly 10 frames a bin. Count frames per bin by giving
    // each frame its own marker through the peak of a ramp.
    const unsigned rate = 20480;
    WaveformBuilder b(1.0);
    std::vector<double> ramp(rate);
    for (unsigned i = 0; i < rate; ++i) ramp[i] = double(i + 1) / rate;
    b.addFrames(ramp.data(), rate, 1, rate);
    auto w = b.snapshot(true);
    for (size_t bin = 0; bin < kBins; ++bin)
        ASSERT_FLOAT_EQ(w->peak[bin], float(double(bin * 10 + 10) / rate)) << bin;
    EXPECT_TRUE(w->complete);

    // An uneven total: bin 2047 starts at ceil(2047 * T / 2048).
    const double length = 1.0;
    const unsigned odd = 44101;
    WaveformBuilder u(length);
    std::vector<double> r2(odd);
    for (unsigned i = 0; i < odd; ++i) r2[i] = double(i) / odd;
    u.addFrames(r2.data(), odd, 1, odd);
    auto wu = u.snapshot(true);
    const size_t firstOfLast = size_t(std::ceil(2047.0 * odd / 2048.0));
    EXPECT_FLOAT_EQ(wu->peak[2046], float(double(firstOfLast - 1) / odd));
    EXPECT_FLOAT_EQ(wu->peak[2047], float(double(odd - 1) / odd));
}

TEST(WaveformBuilder, SurplusFramesPileIntoTheLastBin) {
    WaveformBuilder b(0.1);  // expects 4410 frames at 44.1 kHz
    feed(b, 4410, 2, 0.25, 44100);
    feed(b, 5000, 2, 0.9, 44100);
    auto w = b.snapshot(false);
    EXPECT_FLOAT_EQ(w->peak[2046], 0.25f);
    EXPECT_FLOAT_EQ(w->peak[2047], 0.9f);
    EXPECT_FALSE(w->complete);
    EXPECT_EQ(b.framesSeen(), 9410u);
}

TEST(WaveformBuilder, MonoEqualsTheSameSignalOnTwoChannels) {
    const unsigned rate = 8000;
    std::vector<double> mono(rate), stereo(rate * 2);
    for (unsigned i = 0; i < rate; ++i) {
        mono[i] = std::sin(i * 0.01) * (i % 7 ? 0.5 : -0.8);
        stereo[2 * i] = stereo[2 * i + 1] = mono[i];
    }
    WaveformBuilder m(1.0), s(1.0);
    m.addFrames(mono.data(), rate, 1, rate);
    s.addFrames(stereo.data(), rate, 2, rate);
    auto wm = m.snapshot(true), ws = s.snapshot(true);
    for (size_t i = 0; i < kBins; ++i) {
        ASSERT_FLOAT_EQ(wm->peak[i], ws->peak[i]);
        ASSERT_FLOAT_EQ(wm->rms[i], ws->rms[i]);
    }
}

TEST(WaveformBuilder, RmsIsTheRootOfTheMeanOfPerFrameChannelMeans) {
    // Left 0.6, right 0: each frame's mean square is 0.18, never (0.3)^2.
    WaveformBuilder b(1.0);
    std::vector<double> frames(2 * 2048, 0.0);
    for (size_t i = 0; i < 2048; ++i) frames[2 * i] = -0.6;
    b.addFrames(frames.data(), 2048, 2, 2048);
    auto w = b.snapshot(true);
    EXPECT_NEAR(w->rms[100], std::sqrt(0.18), 1e-6);
    EXPECT_FLOAT_EQ(w->peak[100], 0.6f);
}

TEST(WaveformBuilder, SnapshotsAreIndependentOfLaterFrames) {
    WaveformBuilder b(1.0);
    feed(b, 100, 1, 0.5, 2048);
    auto first = b.snapshot(false);
    feed(b, 100, 1, 1.0, 2048);
    EXPECT_FLOAT_EQ(first->peak[0], 0.5f);
    EXPECT_FLOAT_EQ(first->peak[150], 0.0f);
    EXPECT_FLOAT_EQ(first->rms[150], 0.0f);
}

TEST(WaveformBuilder, SamplesThatAreNoNumberCountAsSilence) {
    WaveformBuilder b(1.0);
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> frames = {0.5, std::nan(""), -inf, 1e300, 0.25, 0.0};
    b.addFrames(frames.data(), 3, 2, 2048);
    auto w = b.snapshot(false);  // a frame a bin
    const float peak[] = {0.5f, 0.0f, 0.25f};
    const double meanSquare[] = {0.25 / 2, 0, 0.0625 / 2};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(w->peak[i], peak[i]) << i;
        EXPECT_NEAR(w->rms[i], std::sqrt(meanSquare[i]), 1e-6) << i;
    }
}

std::shared_ptr<const Waveform> summary(bool complete) {
    auto w = std::make_shared<Waveform>();
    w->complete = complete;
    return w;
}

TEST(WaveformCache, KeepsSixtyFourFirstInFirstOut) {
    g_cache.clear();
    g_cacheOrder.clear();
    EXPECT_EQ(cacheKey("file:///a.flac", 0), "file:///a.flac|0");
    EXPECT_EQ(cacheKey("file:///a.cue", 12), "file:///a.cue|12");

    for (int i = 0; i < 64; ++i) cacheStore(cacheKey("t", i), summary(true));
    auto replacement = summary(true);
    cacheStore(cacheKey("t", 0), replacement);  // repeated: replaces, evicts nothing
    EXPECT_EQ(g_cache.size(), 64u);
    EXPECT_EQ(cacheLookup(cacheKey("t", 0)), replacement);
    cacheLookup(cacheKey("t", 0));  // a hit does not refresh it either

    cacheStore(cacheKey("t", 64), summary(true));
    EXPECT_EQ(g_cache.size(), 64u);
    EXPECT_EQ(cacheLookup(cacheKey("t", 0)), nullptr);
    EXPECT_NE(cacheLookup(cacheKey("t", 1)), nullptr);
    EXPECT_EQ(g_cacheOrder.front(), cacheKey("t", 1));
}

TEST(WaveformCache, NeverStoresPartialSummaries) {
    g_cache.clear();
    g_cacheOrder.clear();
    cacheStore("k|0", summary(false));
    cacheStore("k|0", nullptr);
    EXPECT_TRUE(g_cache.empty());
    EXPECT_TRUE(g_cacheOrder.empty());
}

}  // namespace
}  // namespace wave
