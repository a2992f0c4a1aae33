#include "FakeHost.h"
#include "input_helper.h"

#include <gtest/gtest.h>

TEST(AudioChunk, SetDataCopiesFramesWithTheirFormat) {
    const audio_sample samples[6] = {0.1, -0.1, 0.2, -0.2, 0.3, -0.3};
    audio_chunk_impl chunk;
    chunk.set_data(samples, 3, 2, 48000);
    EXPECT_EQ(chunk.get_sample_count(), 3u);
    EXPECT_EQ(chunk.get_channels(), 2u);
    EXPECT_EQ(chunk.get_srate(), 48000u);
    ASSERT_GE(chunk.get_data_size(), 6u);
    EXPECT_EQ(chunk.get_data()[5], -0.3);
    EXPECT_TRUE(chunk.is_valid());
    EXPECT_DOUBLE_EQ(chunk.get_duration(), 3.0 / 48000.0);

    chunk.reset();
    EXPECT_TRUE(chunk.is_empty());
    EXPECT_FALSE(chunk.is_valid());
    EXPECT_EQ(chunk.get_duration(), 0.0);
}

TEST(AudioChunk, InconsistentOrOversizedChunksAreCaught) {
    audio_chunk_impl chunk;
    const audio_sample one = 0.0;
    chunk.set_data(&one, 1, 1, 44100);
    chunk.set_sample_count(2);  // more frames than samples behind them
    EXPECT_FALSE(chunk.is_valid());

    EXPECT_THROW(chunk.set_data(&one, SIZE_MAX / 2, 2, 44100), exception_io);
    EXPECT_THROW(chunk.set_data(nullptr, 4, 2, 44100), exception_io);
}

TEST(InputHelper, DecodesToTheEndThenReportsIt) {
    FakeInputManager& host = fakeInput();
    host.chunks = 2;
    host.refuse = false;
    abort_callback_impl abort;
    input_helper decoder;
    decoder.open(service_ptr_t<file>(), makeTrack("t"), input_flag_no_seeking | input_flag_no_looping, abort);
    audio_chunk_impl chunk;
    EXPECT_TRUE(decoder.run(chunk, abort));
    EXPECT_EQ(chunk.get_channels(), 2u);
    EXPECT_TRUE(decoder.run(chunk, abort));
    EXPECT_FALSE(decoder.run(chunk, abort));
}

TEST(InputHelper, AbortIsNoticedBeforeTheDecoderIsAsked) {
    FakeInputManager& host = fakeInput();
    host.chunks = 100;
    host.refuse = false;
    abort_callback_impl abort;
    input_helper decoder;
    decoder.open(service_ptr_t<file>(), makeTrack("t"), 3, abort);
    audio_chunk_impl chunk;
    abort.abort();
    EXPECT_THROW(decoder.run(chunk, abort), exception_aborted);

    const int opens = host.opens;
    EXPECT_THROW(decoder.open(service_ptr_t<file>(), makeTrack("t"), 3, abort), exception_aborted);
    EXPECT_EQ(host.opens, opens);
}

TEST(InputHelper, MisuseAndRefusalAreIoFailures) {
    FakeInputManager& host = fakeInput();
    abort_callback_impl abort;
    audio_chunk_impl chunk;
    input_helper decoder;
    EXPECT_THROW(decoder.run(chunk, abort), exception_io);
    EXPECT_THROW(decoder.open(service_ptr_t<file>(), service_ptr_t<metadb_handle>(), 3, abort), exception_io);

    host.refuse = true;
    EXPECT_THROW(decoder.open(service_ptr_t<file>(), makeTrack("t"), 3, abort), exception_io);
    EXPECT_FALSE(decoder.is_open());
    host.refuse = false;
}
