// The buffer between decoder and device: blocking, draining, flushing, gain.

#include "OutputStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using playback::AudioFormat;
using playback::OutputStream;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

const AudioFormat kFormat{8000, 1};

TEST(OutputStream, AWriterWaitsForTheBufferAndTheDrainForTheLastSampleHeard) {
    std::atomic<float> gain{1.0f};
    OutputStream out(playback::openSilentClock(kFormat), kFormat, 0.1, gain, false);
    const std::vector<float> second(8000, 0.25f);
    const auto start = Clock::now();
    ASSERT_TRUE(out.write(second.data(), 8000, [] { return false; }));
    // A tenth buffered plus a tenth in the device: the rest had to be played first.
    EXPECT_NEAR(secondsSince(start), 0.8, 0.08);
    ASSERT_TRUE(out.waitDrained([] { return false; }));
    EXPECT_NEAR(secondsSince(start), 1.0, 0.08);
    EXPECT_EQ(out.heardFrames(), 8000u);
}

TEST(OutputStream, AStopRequestEndsABlockedWriteAndAFlushRestartsTheClock) {
    std::atomic<float> gain{1.0f};
    OutputStream out(playback::openSilentClock(kFormat), kFormat, 0.1, gain, true);  // paused: nothing drains
    std::atomic<bool> stop{false};
    const std::vector<float> second(8000, 0.25f);
    bool written = true;
    std::thread writer([&] { written = out.write(second.data(), 8000, [&] { return stop.load(); }); });
    std::this_thread::sleep_for(100ms);
    stop = true;
    out.wake();
    writer.join();
    EXPECT_FALSE(written);
    EXPECT_EQ(out.heardFrames(), 0u);

    out.setPaused(false);
    std::this_thread::sleep_for(150ms);
    EXPECT_GT(out.heardFrames(), 0u);
    out.flush();
    EXPECT_EQ(out.heardFrames(), 0u);
    ASSERT_TRUE(out.waitDrained([] { return false; }));  // nothing left after the flush
}

}  // namespace
