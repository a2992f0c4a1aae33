#pragma once

// Finished summaries by track, so a track heard again shows at once.
// First in, first out at 64 entries; a hit or a repeated store does not
// refresh a key. Main thread only.

#include "Waveform.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wave {

constexpr size_t kCacheLimit = 64;

extern std::map<std::string, std::shared_ptr<const Waveform>> g_cache;
extern std::vector<std::string> g_cacheOrder;

// "path|subsong".
std::string cacheKey(const char* path, uint32_t subsong);

std::shared_ptr<const Waveform> cacheLookup(const std::string& key);
// Incomplete summaries are ignored: only a whole track is worth keeping.
void cacheStore(const std::string& key, std::shared_ptr<const Waveform> summary);

}  // namespace wave
