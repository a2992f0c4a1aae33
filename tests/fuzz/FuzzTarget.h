#pragma once

// One fuzz target per file:
//
//     QOV_FUZZ_TARGET(layout_text) { ...hand data[0..size) to the parser... }
//
// Built for fuzzing (QOV_SANITIZE=fuzz, scripts/fuzz.sh) the body is
// libFuzzer's entry; in every other build it joins fuzz_replay_tests, which
// runs each target over its seeds and over every input that once failed.
// A body returns 0; it may throw nothing.

#include <cstddef>
#include <cstdint>

namespace fuzz {

using Target = int (*)(const uint8_t* data, size_t size);

// For the replay test; returns true so that a static can hold it.
bool add(const char* name, Target target);

}  // namespace fuzz

#ifdef QOV_FUZZ_ENTRY
#define QOV_FUZZ_TARGET(name)                                                 \
    static int name##_fuzz(const uint8_t* data, size_t size);                 \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
        return name##_fuzz(data, size);                                       \
    }                                                                         \
    static int name##_fuzz(const uint8_t* data, size_t size)
#else
#define QOV_FUZZ_TARGET(name)                                                        \
    static int name##_fuzz(const uint8_t* data, size_t size);                        \
    [[maybe_unused]] static const bool name##_added = fuzz::add(#name, name##_fuzz); \
    static int name##_fuzz(const uint8_t* data, size_t size)
#endif
