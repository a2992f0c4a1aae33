// Every fuzz target over its seeds and over every input that once made it
// fail (regressions/TARGET/, kept with the fix): run as a plain test in every
// build, sanitized ones included.

#include "FuzzTarget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

std::map<std::string, fuzz::Target>& targets() {
    static std::map<std::string, fuzz::Target> all;
    return all;
}

std::vector<fs::path> inputs(const fs::path& folder) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file()) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(FuzzReplay, EveryTargetHasSeedsAndADictionary) {
    ASSERT_FALSE(targets().empty());
    for (const auto& [name, target] : targets()) {
        EXPECT_FALSE(inputs(fs::path(QOV_FUZZ_DIR) / "corpus" / name).empty()) << name;
        EXPECT_TRUE(fs::is_regular_file(fs::path(QOV_FUZZ_DIR) / (name + ".dict"))) << name;
    }
}

TEST(FuzzReplay, EverySeedAndEveryInputThatOnceFailedRunsCleanly) {
    for (const auto& [name, target] : targets()) {
        for (const char* kind : {"corpus", "regressions"}) {
            for (const fs::path& input : inputs(fs::path(QOV_FUZZ_DIR) / kind / name)) {
                SCOPED_TRACE(input.string());
                std::ifstream in(input, std::ios::binary);
                const std::string bytes{std::istreambuf_iterator<char>(in), {}};
                EXPECT_EQ(target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
            }
        }
    }
}

}  // namespace

bool fuzz::add(const char* name, Target target) {
    targets()[name] = target;
    return true;
}
