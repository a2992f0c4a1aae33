#include "LibraryTestSupport.h"
#include "Metadb.h"

#include "input_helper.h"

#include <gtest/gtest.h>

#include <cmath>

using library::Metadb;

namespace {

TEST(InputManager, DecodesATrackToFloatFrames) {
    const auto track = Metadb::instance().handleFor("file://" + MediaFixtures::path("stereo.flac"));
    abort_callback_impl abort;
    input_helper input;
    input.open(nullptr, track, 3, abort);
    audio_chunk_impl chunk;
    uint64_t frames = 0;
    double peak = 0;
    while (input.run(chunk, abort)) {
        ASSERT_TRUE(chunk.is_valid());
        EXPECT_EQ(chunk.get_srate(), 44100u);
        EXPECT_EQ(chunk.get_channels(), 2u);
        for (size_t i = 0; i < chunk.get_sample_count() * 2; i += 2)
            peak = std::max(peak, std::abs(chunk.get_data()[i]));
        frames += chunk.get_sample_count();
    }
    EXPECT_TRUE(chunk.is_empty());
    EXPECT_EQ(frames, 2u * 44100u);
    EXPECT_NEAR(peak, MediaFixtures::kAmplitude[0], 0.01);
}

TEST(InputManager, SeeksWhereTheContainerAllows) {
    const auto track = Metadb::instance().handleFor(MediaFixtures::path("stereo.flac"));
    abort_callback_impl abort;
    input_helper input;
    input.open(nullptr, track, 0, abort);
    ASSERT_TRUE(input.can_seek());
    input.seek(1.5, abort);
    audio_chunk_impl chunk;
    uint64_t frames = 0;
    while (input.run(chunk, abort)) frames += chunk.get_sample_count();
    EXPECT_NEAR(double(frames), 0.5 * 44100, 10);
}

TEST(InputManager, AbortAndFailuresThrowTheSdksExceptions) {
    const auto track = Metadb::instance().handleFor(MediaFixtures::path("long.flac"));
    abort_callback_impl abort;
    input_helper input;
    input.open(nullptr, track, 3, abort);
    audio_chunk_impl chunk;
    ASSERT_TRUE(input.run(chunk, abort));
    abort.abort();
    EXPECT_THROW(input.run(chunk, abort), exception_aborted);
    EXPECT_THROW(input.open(nullptr, track, 3, abort), exception_aborted);

    MediaFixtures::Scratch dir;
    abort_callback_dummy never;
    try {
        input.open(nullptr, Metadb::instance().handleFor(dir.file("missing.flac")), 3, never);
        FAIL() << "opened a missing file";
    } catch (const exception_io& e) {
        EXPECT_NE(std::string(e.what()).find("missing.flac"), std::string::npos) << e.what();
    }
    EXPECT_THROW(
        input.open(nullptr, Metadb::instance().handleFor(brokenTrack(dir.file("bad.flac"))), 3, never),
        exception_io);
    EXPECT_THROW(input.open(nullptr, Metadb::instance().handleFor("http://radio.example/live"), 3, never),
                 exception_io);
}

}  // namespace
