#include "BenchRun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

std::optional<BenchRun> BenchRun::fromArgs(int argc, char** argv, int defaultRepetitions) {
    BenchRun run;
    if (argc > 1) run.tracks = std::strtoul(argv[1], nullptr, 10);
    run.repetitions = argc > 2 ? std::atoi(argv[2]) : defaultRepetitions;
    if (run.tracks == 0 || run.repetitions <= 0) {
        std::fprintf(stderr, "usage: %s [tracks] [repetitions]\n", argv[0]);
        return std::nullopt;
    }
    return run;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
