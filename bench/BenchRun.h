#pragma once

// What every benchmark program shares: its arguments, "[tracks] [repetitions]",
// and the timing of passes.

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

struct BenchRun {
    std::size_t tracks = 100'000;
    int repetitions = 0;

    // The arguments, or none after printing the usage.
    static std::optional<BenchRun> fromArgs(int argc, char** argv, int defaultRepetitions);
};

template <class Pass>
double timeMs(Pass&& pass) {
    const auto start = std::chrono::steady_clock::now();
    pass();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times);
