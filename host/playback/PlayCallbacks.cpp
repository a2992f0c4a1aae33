#include "PlayCallbacks.h"

#include "service_factory.h"

#include <algorithm>

namespace playback {

namespace {

class PlayCallbackManager : public play_callback_manager {
public:
    void register_callback(play_callback* callback, uint32_t flags) override {
        PlayCallbacks::global().add(callback, flags);
    }
    void unregister_callback(play_callback* callback) override { PlayCallbacks::global().remove(callback); }
};

service_factory_singleton_t<PlayCallbackManager> g_playCallbackManagerFactory;

}  // namespace

PlayCallbacks& PlayCallbacks::global() {
    static PlayCallbacks callbacks;
    return callbacks;
}

void PlayCallbacks::add(play_callback* callback, uint32_t flags) {
    if (!callback) return;
    if (flags == 0) return remove(callback);
    for (Entry& e : m_entries)
        if (e.callback == callback) {
            e.flags = flags;
            return;
        }
    m_entries.push_back({callback, flags});
}

void PlayCallbacks::remove(play_callback* callback) {
    for (Entry& e : m_entries)
        if (e.callback == callback) e = {nullptr, 0};
    if (m_depth == 0) compact();
}

void PlayCallbacks::compact() {
    std::erase_if(m_entries, [](const Entry& e) { return e.callback == nullptr; });
}

}  // namespace playback
