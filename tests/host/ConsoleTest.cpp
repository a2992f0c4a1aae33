#include "Console.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

namespace {

TEST(Console, KeepsTheNewestLinesAndSplitsText) {
    Console console(3, false);
    console.print("one\ntwo\n");
    const uint64_t mark = console.mark();
    console.print("three");
    console.print("four\r\n");
    console.print("");
    EXPECT_EQ(console.lines(), (std::vector<std::string>{"three", "four", ""}));
    EXPECT_EQ(console.linesSince(mark), (std::vector<std::string>{"three", "four", ""}));
    // More new lines than are kept: only what is still there.
    EXPECT_EQ(console.linesSince(0), console.lines());
    EXPECT_TRUE(console.linesSince(console.mark()).empty());
}

TEST(Console, ObserversSeeEveryLineOnceInOrderAfterTheirBacklog) {
    Console console(100000, false);
    console.print("0:before");
    std::vector<std::string> backlog;
    std::vector<std::string> seen;
    std::mutex seenMutex;

    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    std::vector<std::thread> threads;
    // Printing already runs when the observer subscribes: no gap, no repeat.
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kLines; ++i)
                console.print(std::to_string(t) + ":" + std::to_string(i));
        });
    auto sub = console.subscribe(
        [&](const std::string& line) {
            std::lock_guard lock(seenMutex);
            seen.push_back(line);
        },
        &backlog);
    for (auto& t : threads) t.join();

    std::vector<std::string> all = backlog;
    all.insert(all.end(), seen.begin(), seen.end());
    EXPECT_EQ(all, console.lines());
    std::map<int, int> next;
    for (const auto& l : all) {
        if (l == "0:before") continue;
        const int t = std::stoi(l.substr(0, l.find(':')));
        EXPECT_EQ(std::stoi(l.substr(l.find(':') + 1)), next[t]++) << l;
    }
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(next[t], kLines);
}

TEST(Console, NoObserverCallOnceItsSubscriptionIsGone) {
    Console console(10, false);
    std::atomic<bool> stop{false};
    std::thread printer([&] {
        while (!stop) console.print("tick");
    });
    for (int round = 0; round < 200; ++round) {
        auto alive = std::make_shared<std::atomic<bool>>(true);
        std::atomic<int> lateCalls{0};
        {
            auto sub = console.subscribe([alive, &lateCalls](const std::string&) {
                if (!*alive) ++lateCalls;
            });
            std::this_thread::yield();
        }
        *alive = false;
        std::this_thread::yield();
        EXPECT_EQ(lateCalls, 0);
    }
    stop = true;
    printer.join();
}

TEST(Console, AnObserverMayPrintAndUnsubscribeItself) {
    Console console(10, false);
    Console::Subscription sub;
    int calls = 0;
    sub = console.subscribe([&](const std::string& line) {
        ++calls;
        if (line == "first") console.print("echo");
        if (line == "echo") sub.reset();
    });
    console.print("first");
    console.print("after");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(console.lines(), (std::vector<std::string>{"first", "echo", "after"}));
}

}  // namespace
