#include "BundleWork.h"
#include "FakeHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Released at the very end of a worker's life, slowly: a worker is not over
// until its closure is gone.
struct SlowRelease {
    explicit SlowRelease(std::atomic<int>& count) : released(count) {}
    ~SlowRelease() {
        std::this_thread::sleep_for(50ms);
        ++released;
    }
    std::atomic<int>& released;
};

TEST(BundleWork, WithdrawalWaitsUntilEveryWorkerHasEnded) {
    std::atomic<int> released{0};
    {
        BoundFakeHost bound;
        for (int i = 0; i < 3; ++i)
            qvn::spawnWorker(
                [r = std::make_shared<SlowRelease>(released)] { std::this_thread::sleep_for(20ms); });
        // One started by a worker while the withdrawal already waits.
        qvn::spawnWorker([&released] {
            std::this_thread::sleep_for(30ms);
            qvn::spawnWorker([r = std::make_shared<SlowRelease>(released)] {});
        });
    }  // withdrawn here
    EXPECT_EQ(released, 4);
}

}  // namespace
