#include "WaveformCache.h"

#include <algorithm>

namespace wave {

std::map<std::string, std::shared_ptr<const Waveform>> g_cache;
std::vector<std::string> g_cacheOrder;

std::string cacheKey(const char* path, uint32_t subsong) {
    std::string key(path ? path : "");
    key += '|';
    key += std::to_string(subsong);
    return key;
}

std::shared_ptr<const Waveform> cacheLookup(const std::string& key) {
    auto it = g_cache.find(key);
    return it == g_cache.end() ? nullptr : it->second;
}

void cacheStore(const std::string& key, std::shared_ptr<const Waveform> summary) {
    if (!summary || !summary->complete) return;
    if (g_cache.find(key) == g_cache.end()) {
        g_cacheOrder.push_back(key);
        if (g_cacheOrder.size() > kCacheLimit) {
            g_cache.erase(g_cacheOrder.front());
            g_cacheOrder.erase(g_cacheOrder.begin());
        }
    }
    g_cache[key] = std::move(summary);
}

}  // namespace wave
