#include "FakeHost.h"
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

class Track : public metadb_handle {
public:
    Track(std::string path, double length) : m_path(std::move(path)), m_length(length) {}
    const char* get_path() const override { return m_path.c_str(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return m_length; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base&, const service_ptr_t<titleformat_object>&,
                      titleformat_text_filter*) const override {
        return false;
    }

private:
    std::string m_path;
    double m_length;
};

// Decodes `frames` frames of a constant 0.5 in blocks of 4096, optionally
// slowly, optionally failing after `failAfter` blocks.
struct Script {
    unsigned rate = 8000;
    unsigned channels = 2;
    size_t frames = 8000;
    std::chrono::milliseconds blockDelay{0};
    int failAfter = -1;
    bool failOpen = false;
};

class Decoder : public input_decoder {
public:
    explicit Decoder(Script s) : m_s(s) {}
    bool run(audio_chunk& chunk, abort_callback& abort) override {
        abort.check();
        if (m_blocks++ == m_s.failAfter) throw exception_io("Corrupt data at block 2");
        if (m_done >= m_s.frames) return false;
        std::this_thread::sleep_for(m_s.blockDelay);
        const size_t n = std::min<size_t>(4096, m_s.frames - m_done);
        std::vector<double> samples(n * m_s.channels, 0.5);
        chunk.set_data(samples.data(), n, m_s.channels, m_s.rate);
        m_done += n;
        return true;
    }
    bool can_seek() override { return false; }
    void seek(double, abort_callback&) override {}

private:
    Script m_s;
    size_t m_done = 0;
    int m_blocks = 0;
};

class Inputs : public input_manager {
public:
    Script script;
    uint32_t flags = 0;
    service_ptr_t<input_decoder> open(service_ptr_t<file>, const service_ptr_t<metadb_handle>&, uint32_t f,
                                      abort_callback& abort, bool, bool) override {
        flags = f;
        abort.check();
        if (script.failOpen) throw exception_io("Unsupported format");
        return service_new<Decoder>(script);
    }
};

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

class Lines : public qvn::console {
public:
    void print(const char* line) override {
        std::lock_guard g(m);
        lines.push_back(line);
    }
    std::vector<std::string> get() {
        std::lock_guard g(m);
        return lines;
    }
    std::mutex m;
    std::vector<std::string> lines;
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
        startScan(job, service_new<Track>("file:///t.flac", length),
                  [this](std::shared_ptr<const Waveform> w) { updates.push_back(w); });
    }
    bool finished() { return !updates.empty() && updates.back()->complete; }

    BoundFakeHost bound;
    service_ptr_t<Inputs> inputs = service_new<Inputs>();
    service_ptr_t<MainQueue> mainQueue = service_new<MainQueue>();
    service_ptr_t<Lines> console = service_new<Lines>();
    std::shared_ptr<ScanJob> job;
    std::vector<std::shared_ptr<const Waveform>> updates;
};

TEST_F(Scan, PublishesThrottledPartialsThenOneCompleteSummary) {
    inputs->script.frames = 8000 * 3;
    inputs->script.blockDelay = 60ms;  // ~0.5 s in all: a partial or two
    start(3.0);
    ASSERT_TRUE(mainQueue->runUntil([&] { return finished(); }));
    EXPECT_EQ(inputs->flags, 3u);
    ASSERT_GE(updates.size(), 2u);
    for (size_t i = 0; i + 1 < updates.size(); ++i) EXPECT_FALSE(updates[i]->complete);
    EXPECT_FLOAT_EQ(updates.back()->peak[2047], 0.5f);
    EXPECT_NEAR(updates.back()->rms[0], 0.5, 1e-6);
    EXPECT_TRUE(console->get().empty());
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
    EXPECT_TRUE(console->get().empty());
}

TEST_F(Scan, FailureLeavesOneConsoleLineAndNoFinalSummary) {
    inputs->script.failAfter = 2;
    start(1.0);
    std::this_thread::sleep_for(200ms);
    mainQueue->runUntil([] { return false; }, 200ms);
    EXPECT_FALSE(finished());
    ASSERT_EQ(console->get().size(), 1u);
    EXPECT_EQ(console->get()[0], "Waveform Seekbar: scan failed: Corrupt data at block 2");

    g_cache.clear();
    for (auto& w : updates) cacheStore("t|0", w);
    EXPECT_TRUE(g_cache.empty());

    inputs->script = Script{.failOpen = true};
    start(1.0);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(console->get().size(), 2u);
    EXPECT_EQ(console->get()[1], "Waveform Seekbar: scan failed: Unsupported format");
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
    EXPECT_TRUE(console->get().empty());
}

}  // namespace
}  // namespace wave
