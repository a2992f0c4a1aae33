#pragma once

// Where a track lives: its location text ("file://" + absolute path for local
// files) and its subsong. The identity of a track handle and of its statistics.

#include <cstdint>
#include <functional>
#include <string>

namespace library {

struct TrackKey {
    std::string location;
    uint32_t subsong = 0;

    friend bool operator==(const TrackKey&, const TrackKey&) = default;
};

struct TrackKeyHash {
    size_t operator()(const TrackKey& k) const noexcept {
        return std::hash<std::string>{}(k.location) ^ (size_t(k.subsong) * 0x9E3779B97F4A7C15ull);
    }
};

}  // namespace library
