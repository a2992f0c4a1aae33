#include "FakeHost.h"

#include "service_factory_alias.h"

#include <algorithm>

namespace {
service_factory_singleton_t<FakePlaylistManager> g_playlists;
service_factory_alias_t<playlist_manager> g_playlistsV1(g_playlists);
service_factory_singleton_t<FakePlayCallbackManager> g_playCallbacks;
service_factory_singleton_t<FakeMainThread> g_mainThread;
service_factory_singleton_t<FakeCompiler> g_compiler;
service_factory_singleton_t<FakeInputManager> g_input;

class FakeScript : public titleformat_object {
public:
    explicit FakeScript(std::string pattern) : m_pattern(std::move(pattern)) {}
    void run(titleformat_hook*, cvk::string_base& out, titleformat_text_filter*) override {
        out = m_pattern.c_str();
    }

private:
    std::string m_pattern;
};

class FakeDecoder : public input_decoder {
public:
    explicit FakeDecoder(size_t chunks) : m_left(chunks) {}
    bool run(audio_chunk& chunk, abort_callback&) override {
        if (m_left == 0) {
            chunk.reset();
            return false;
        }
        --m_left;
        const audio_sample frame[2] = {0.5, -0.5};
        chunk.set_data(frame, 1, 2, 44100);
        return true;
    }
    bool can_seek() override { return false; }
    void seek(double, abort_callback&) override { throw exception_io("Not seekable"); }

private:
    size_t m_left;
};
}  // namespace

FakePlaylistManager& fakePlaylists() { return g_playlists.get_static_instance(); }
FakePlayCallbackManager& fakePlayCallbacks() { return g_playCallbacks.get_static_instance(); }
FakeMainThread& fakeMainThread() { return g_mainThread.get_static_instance(); }
FakeInputManager& fakeInput() { return g_input.get_static_instance(); }

bool FakeTrack::format_title(titleformat_hook*, cvk::string_base& out,
                             const service_ptr_t<titleformat_object>& script,
                             titleformat_text_filter*) const {
    out.reset();
    if (!script) return false;
    script->run(nullptr, out, nullptr);
    return true;
}

service_ptr_t<metadb_handle> makeTrack(const std::string& path) { return service_new<FakeTrack>(path); }

void FakePlaylistManager::reset(size_t count, size_t items) {
    playlists.clear();
    for (size_t p = 0; p < count; ++p) {
        Playlist pl;
        pl.name = "P" + std::to_string(p);
        for (size_t i = 0; i < items; ++i) pl.items.push_back(makeTrack(pl.name + "/" + std::to_string(i)));
        pl.selected.assign(items, false);
        playlists.push_back(std::move(pl));
    }
    active = count ? 0 : SIZE_MAX;
}

size_t FakePlaylistManager::create_playlist(const char* name, size_t name_len, size_t position) {
    Playlist pl;
    pl.name.assign(name, name_len == SIZE_MAX ? std::char_traits<char>::length(name) : name_len);
    position = std::min(position, playlists.size());
    playlists.insert(playlists.begin() + ptrdiff_t(position), std::move(pl));
    return position;
}

bool FakePlaylistManager::remove_playlists(const bit_array& mask) {
    const size_t count = playlists.size();
    if (mask.find(true, 0, count) == count) return false;
    for (size_t p = 0; p < count; ++p)
        if (mask[p] && playlists[p].refuseRemoval) return false;
    size_t newActive = active;
    if (active < count) newActive = mask[active] ? SIZE_MAX : active - mask.calc_count(true, 0, active);
    for (size_t p = count; p-- > 0;)
        if (mask[p]) playlists.erase(playlists.begin() + ptrdiff_t(p));
    active = newActive;
    return true;
}

bool FakePlaylistManager::playlist_get_name(size_t playlist, cvk::string_base& out) {
    out.reset();
    if (playlist >= playlists.size()) return false;
    out = playlists[playlist].name.c_str();
    return true;
}

size_t FakePlaylistManager::playlist_get_item_count(size_t playlist) {
    return playlist < playlists.size() ? playlists[playlist].items.size() : 0;
}

void FakePlaylistManager::playlist_get_items(size_t playlist, metadb_handle_list& out,
                                             const bit_array& mask) {
    out.clear();
    if (playlist >= playlists.size()) return;
    const auto& items = playlists[playlist].items;
    for (size_t i = 0; i < items.size(); ++i)
        if (mask[i]) out.push_back(items[i]);
}

size_t FakePlaylistManager::playlist_insert_items(size_t playlist, size_t base,
                                                  const metadb_handle_list& data,
                                                  const bit_array& selection) {
    if (playlist >= playlists.size()) return SIZE_MAX;
    Playlist& pl = playlists[playlist];
    base = std::min(base, pl.items.size());
    for (size_t i = 0; i < data.size(); ++i) {
        pl.items.insert(pl.items.begin() + ptrdiff_t(base + i), data[i]);
        pl.selected.insert(pl.selected.begin() + ptrdiff_t(base + i), selection[i]);
    }
    return base;
}

bool FakePlaylistManager::playlist_remove_items(size_t playlist, const bit_array& mask) {
    if (playlist >= playlists.size()) return false;
    Playlist& pl = playlists[playlist];
    const size_t count = pl.items.size();
    if (mask.find(true, 0, count) == count) return false;
    for (size_t i = count; i-- > 0;) {
        if (!mask[i]) continue;
        pl.items.erase(pl.items.begin() + ptrdiff_t(i));
        pl.selected.erase(pl.selected.begin() + ptrdiff_t(i));
    }
    return true;
}

bit_array_bittable FakePlaylistManager::playlist_get_selection_mask(size_t playlist) {
    if (playlist >= playlists.size()) return {};
    return bit_array_bittable(playlists[playlist].selected);
}

bool FakePlaylistManager::playlist_is_item_selected(size_t playlist, size_t item) {
    return playlist < playlists.size() && item < playlists[playlist].selected.size() &&
           playlists[playlist].selected[item];
}

void FakePlaylistManager::playlist_set_selection(size_t playlist, const bit_array& affected,
                                                 const bit_array& state) {
    if (playlist >= playlists.size()) return;
    auto& selected = playlists[playlist].selected;
    for (size_t i = 0; i < selected.size(); ++i)
        if (affected[i]) selected[i] = state[i];
}

void FakePlaylistManager::register_callback(playlist_callback* callback, uint32_t flags) {
    ++registerCalls;
    callbacks[callback] = flags;
}

void FakePlaylistManager::modify_callback(playlist_callback* callback, uint32_t flags) {
    ++modifyCalls;
    callbacks[callback] = flags;
}

void FakeMainThread::add_callback(service_ptr_t<main_thread_callback> callback) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_queue.push_back(std::move(callback));
}

size_t FakeMainThread::pending() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_queue.size();
}

void FakeMainThread::runAll() {
    std::vector<service_ptr_t<main_thread_callback>> queue;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        queue.swap(m_queue);
    }
    for (auto& callback : queue) callback->callback_run();
}

bool FakeCompiler::compile(service_ptr_t<titleformat_object>& out, const char* pattern) {
    if (std::string(pattern).find("BAD") != std::string::npos) return false;
    out = service_new<FakeScript>(pattern);
    return true;
}

service_ptr_t<input_decoder> FakeInputManager::open(service_ptr_t<file>, const service_ptr_t<metadb_handle>&,
                                                    uint32_t, abort_callback&, bool, bool) {
    ++opens;
    if (refuse) return {};
    return service_new<FakeDecoder>(chunks);
}
