#include "FakePlayer.h"
#include "WaveformCache.h"
#include "WaveformScan.h"
#include "console.h"
#include "input.h"
#include "main_thread_callback.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace wave {
namespace {

using namespace std::chrono_literals;

// The main loop stand-in: posted functions wait until the test runs them.
class MainQueue : public main_thread_callback_manager {
public:
    void add_callback(service_ptr_t<main_thread_callback> cb) override {
        std::lock_guard g(m);
        queue.push_back(cb);
        cv.notify_all();
    }
    // Runs what is queued until `until` holds or the time is up.
    bool runUntil(const std::function<bool()>& until, std::chrono::milliseconds limit = 5s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!until()) {
            service_ptr_t<main_thread_callback> next;
            {
                std::unique_lock g(m);
                if (!cv.wait_until(g, end, [&] { return !queue.empty(); })) return until();
                next = queue.front();
                queue.pop_front();
            }
            next->callback_run();
        }
        return true;
    }
    std::mutex m;
    std::condition_variable cv;
    std::deque<service_ptr_t<main_thread_callback>> queue;
};

class Scan : public ::testing::Test {
protected:
    void SetUp() override {
        bound.host.add(input_manager::class_guid, inputs);
        bound.host.add(main_thread_callback_manager::class_guid, mainQueue);
        bound.host.add(qvn::console::class_guid, console);
    }
    void start(double length) {
        job = std::make_shared<ScanJob>();
        startScan(job, service_new<FakeTrack>("file:///t.flac", length),
                  [this](std::shared_ptr<const Waveform> w) { updates.push_back(w); });
    }
    bool finished() { return !updates.empty() && updates.back()->complete; }

    BoundFakeHost bound;
    service_ptr_t<FakeInputs> inputs = service_new<FakeInputs>();
    service_ptr_t<MainQueue> mainQueue = service_new<MainQueue>();
    service_ptr_t<FakeConsole> console = service_new<FakeConsole>();
    std::shared_ptr<ScanJob> job;
    std::vector<std::shared_ptr<const Waveform>> updates;
};

TEST_F(Scan, PublishesThrottledPartialsThenOneCompleteSummary) {
    inputs->script.frames = 8000 * 3;
    inputs->script.blockDelay = 60ms;  // ~0.5 s in all: a partial or two
    start(3.0);
    ASSERT_TRUE(mainQueue->runUntil([&] { return finished(); }));
    EXPECT_EQ(inputs->lastFlags, 3u);
    ASSERT_GE(updates.size(), 2u);
    for (size_t i = 0; i + 1 < updates.size(); ++i) EXPECT_FALSE(updates[i]->complete);
    EXPECT_FLOAT_EQ(updates.back()->peak[2047], 0.5f);
    EXPECT_NEAR(updates.back()->rms[0], 0.5, 1e-6);
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(Scan, FastScanPublishesOnlyTheFinalSummary) {
    start(1.0);
    ASSERT_TRUE(mainQueue->runUntil([&] { return finished(); }));
    EXPECT_EQ(updates.size(), 1u);
}

TEST_F(Scan, UnknownLengthScansNothing) {
    start(0);
    start(std::nan(""));
    EXPECT_FALSE(mainQueue->runUntil([&] { return !updates.empty(); }, 300ms));
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(Scan, FailureLeavesOneConsoleLineAndNoFinalSummary) {
    inputs->script.failAfter = 2;
    start(1.0);
    std::this_thread::sleep_for(200ms);
    mainQueue->runUntil([] { return false; }, 200ms);
    EXPECT_FALSE(finished());
    ASSERT_EQ(console->lines().size(), 1u);
    EXPECT_EQ(console->lines()[0], "Waveform Seekbar: scan failed: Corrupt data at block 2");

    g_cache.clear();
    for (auto& w : updates) cacheStore("t|0", w);
    EXPECT_TRUE(g_cache.empty());

    inputs->refuse = true;
    start(1.0);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(console->lines().size(), 2u);
    EXPECT_EQ(console->lines()[1], "Waveform Seekbar: scan failed: Unsupported format");
}

TEST_F(Scan, CancelledScanEndsSilently) {
    inputs->script.frames = 8000 * 100;
    inputs->script.blockDelay = 20ms;
    start(100.0);
    std::this_thread::sleep_for(100ms);
    job->abort.set_state(true);
    std::this_thread::sleep_for(200ms);
    size_t queued;
    {
        std::lock_guard g(mainQueue->m);
        queued = mainQueue->queue.size();
    }
    mainQueue->runUntil([] { return false; }, 300ms);
    EXPECT_EQ(updates.size(), queued);
    EXPECT_FALSE(finished());
    EXPECT_TRUE(console->lines().empty());
}

}  // namespace
}  // namespace wave
