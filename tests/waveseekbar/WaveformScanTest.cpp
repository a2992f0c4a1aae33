#include "console.h"
#include "input.h"
#include "main_thread_callback.h"
#include "SeekbarPlayer.h"
#include "WaveformCache.h"
#include "WaveformScan.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
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
        posted.push_back(std::chrono::steady_clock::now());
        cv.notify_all();
    }
    size_t queued() {
        std::lock_guard g(m);
        return queue.size();
    }
    // Runs what is queued until `until` holds or the time is up.
    bool runUntil(const std::function<bool()>& until, std::chrono::milliseconds limit = 30s) {
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
    std::vector<std::chrono::steady_clock::time_point> posted;
};

// Polls without running the main queue; generous, as the machine may be busy.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class Scan : public ::testing::Test {
protected:
    void SetUp() override {
        bound.host.add(input_manager::class_guid, inputs);
        bound.host.add(main_thread_callback_manager::class_guid, mainQueue);
        bound.host.add(qvn::console::class_guid, console);
    }
    void start(double length, const std::string& location = "file:///t.flac",
               std::shared_ptr<WaveformStore> store = nullptr) {
        job = std::make_shared<ScanJob>();
        job->key = cacheKey(location.c_str(), 0);
        job->store = std::move(store);
        startScan(job, service_new<FakeTrack>(location, length),
                  [this](std::shared_ptr<const Waveform> w) { updates.push_back(w); });
    }
    bool finished() { return !updates.empty() && updates.back()->complete; }
    // The scan thread lets go of its job as it ends.
    bool scanEnded() {
        return waitFor([this] { return job.use_count() == 1; });
    }

    BoundFakeHost bound;
    service_ptr_t<FakeInputs> inputs = service_new<FakeInputs>();
    service_ptr_t<MainQueue> mainQueue = service_new<MainQueue>();
    service_ptr_t<FakeConsole> console = service_new<FakeConsole>();
    std::shared_ptr<ScanJob> job;
    std::vector<std::shared_ptr<const Waveform>> updates;
};

TEST_F(Scan, PublishesPartialsAtMostEvery250msThenOneCompleteSummary) {
    inputs->script.frames = 4096 * 20;
    inputs->script.blockDelay = 40ms;  // at least 0.8 s in all: two partials or more
    const auto started = std::chrono::steady_clock::now();
    start(4096 * 20 / 8000.0);
    ASSERT_TRUE(mainQueue->runUntil([&] { return finished(); }));
    EXPECT_EQ(inputs->lastFlags, 3u);
    ASSERT_GE(updates.size(), 3u);
    for (size_t i = 0; i + 1 < updates.size(); ++i) EXPECT_FALSE(updates[i]->complete);
    // Each gap is over 250 ms at the clock reading; the margin covers the
    // moment between that reading and the post.
    std::lock_guard g(mainQueue->m);
    EXPECT_GE(mainQueue->posted[0] - started, 200ms);
    for (size_t i = 1; i + 1 < mainQueue->posted.size(); ++i)
        EXPECT_GE(mainQueue->posted[i] - mainQueue->posted[i - 1], 200ms) << i;
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
    ASSERT_TRUE(scanEnded());
    mainQueue->runUntil([&] { return mainQueue->queued() == 0; });
    EXPECT_FALSE(finished());
    ASSERT_EQ(console->lines().size(), 1u);
    EXPECT_EQ(console->lines()[0], "Waveform Seekbar: scan failed: Corrupt data at block 2");

    g_cache.clear();
    for (auto& w : updates) cacheStore("t|0", w);
    EXPECT_TRUE(g_cache.empty());

    inputs->refuse = true;
    start(1.0);
    ASSERT_TRUE(scanEnded());
    ASSERT_EQ(console->lines().size(), 2u);
    EXPECT_EQ(console->lines()[1], "Waveform Seekbar: scan failed: Unsupported format");
}

TEST_F(Scan, CancelledScanEndsSilently) {
    inputs->script.frames = 8000 * 100;
    inputs->script.blockDelay = 20ms;
    start(100.0);
    std::this_thread::sleep_for(100ms);
    job->abort.set_state(true);
    const size_t atCancel = mainQueue->queued();
    ASSERT_TRUE(scanEnded());
    // At most the block being decoded when the flag was set still publishes.
    EXPECT_LE(mainQueue->queued(), atCancel + 1);
    mainQueue->runUntil([&] { return mainQueue->queued() == 0; });
    EXPECT_FALSE(finished());
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(Scan, ATrackScannedBeforeComesCompleteFromTheStoreWithoutDecoding) {
    QTemporaryDir dir;
    const std::filesystem::path audio = dir.filePath("t.flac").toStdString();
    std::ofstream(audio) << "audio";
    const std::string location = "file://" + audio.string();
    const std::string storeFile = dir.filePath("waveforms.sqlite").toStdString();
    auto scanWithFreshStore = [&] {
        updates.clear();
        start(1.0, location, std::make_shared<WaveformStore>(storeFile, 1 << 20));
        EXPECT_TRUE(mainQueue->runUntil([&] { return finished(); }));
        EXPECT_TRUE(scanEnded());  // kept once published
    };
    scanWithFreshStore();
    ASSERT_EQ(inputs->opened, 1);
    const auto scanned = updates.back();

    // As after a restart: one complete publication and no decoder.
    scanWithFreshStore();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0]->peak, scanned->peak);
    EXPECT_EQ(updates[0]->rms, scanned->rms);
    EXPECT_EQ(inputs->opened, 1);

    std::ofstream(audio, std::ios::app) << " rewritten";
    scanWithFreshStore();
    EXPECT_EQ(inputs->opened, 2);
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(Scan, AStoreThatCannotBeUsedStillScans) {
    QTemporaryDir dir;
    const std::filesystem::path audio = dir.filePath("t.flac").toStdString();
    std::ofstream(audio) << "audio";
    std::ofstream(dir.filePath("profile").toStdString()) << "a file where the profile folder should be";
    start(1.0, "file://" + audio.string(),
          std::make_shared<WaveformStore>(dir.filePath("profile/waveforms.sqlite").toStdString(), 1 << 20));
    ASSERT_TRUE(mainQueue->runUntil([&] { return finished(); }));
    ASSERT_TRUE(scanEnded());
    ASSERT_EQ(console->lines().size(), 1u);
    EXPECT_TRUE(console->lines()[0].starts_with("Waveform Seekbar: waveforms will not be kept"))
        << console->lines()[0];
}

}  // namespace
}  // namespace wave
