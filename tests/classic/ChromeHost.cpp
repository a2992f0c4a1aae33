#include "ChromeHost.h"

#include "Beep.h"
#include "ClassicLock.h"
#include "ClosedTracker.h"
#include "MainQueue.h"
#include "TestApplication.h"

#include <algorithm>

void ChromePlayback::start(t_track_command command, bool startPaused) {
    starts.push_back(command);
    paused = startPaused;
}

bool ChromePlayback::get_now_playing(service_ptr_t<metadb_handle>& out) {
    out = playing;
    return playing.is_valid();
}

bool ChromePlayback::playback_format_title(titleformat_hook*, cvk::string_base& out,
                                           const service_ptr_t<titleformat_object>& script,
                                           titleformat_text_filter*, t_display_level level) {
    ++formats;
    lastLevel = level;
    out.reset();
    if (!playing.is_valid() || !script.is_valid()) return false;
    return playing->format_title(nullptr, out, script, nullptr);
}

bool CountingCompiler::compile(service_ptr_t<titleformat_object>& out, const char* pattern) {
    compiled.emplace_back(pattern ? pattern : "");
    return m_engine->compile(out, pattern);
}

void FakeIncoming::process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags,
                                           const char*, const char*, QWidget*,
                                           service_ptr_t<process_locations_notify> notify) {
    requests.push_back(locations);
    lastFlags = op_flags;
    metadb_handle_list tracks;
    for (const auto& l : locations)
        if (auto it = files.find(l); it != files.end()) tracks.push_back(it->second);
    platform::async([notify, tracks] { notify->on_completion(tracks); });
}

ChromeHost::ChromeHost() {
    testApplication();
    bound.host.add(qvn::configStore::class_guid, config);
    bound.host.add(main_thread_callback_manager::class_guid, mainThread);
    bound.host.add(playlist_manager::class_guid, playlists);
    bound.host.add(playlist_manager_v2::class_guid, playlists);
    bound.host.add(playback_control::class_guid, playback);
    bound.host.add(titleformat_compiler::class_guid, compiler);
    bound.host.add(library_manager::class_guid, library);
    bound.host.add(playlist_incoming_item_filter_v2::class_guid, incoming);
    resetClassicSettings();
    platform::setBeepHook([this] { ++beeps; });
}

ChromeHost::~ChromeHost() {
    platform::setBeepHook({});
    stopClosedTracker();
    g_closed.clear();
    // The locks of this host's playlists go with it.
    g_locks.clear();
    playlists->releaseLocks();
}

size_t ChromeHost::playlist(const char* name, const metadb_handle_list& tracks) {
    const size_t p = playlists->create_playlist(name, SIZE_MAX, SIZE_MAX);
    playlists->playlist_add_items(p, tracks, bit_array_false());
    return p;
}

std::vector<std::string> ChromeHost::playlistNames() {
    std::vector<std::string> out;
    for (size_t i = 0; i < playlists->get_playlist_count(); ++i) {
        cvk::stringLite name;
        playlists->playlist_get_name(i, name);
        out.push_back(name.str());
    }
    return out;
}

std::vector<std::string> ChromeHost::itemPaths(size_t playlist) {
    metadb_handle_list items;
    playlists->playlist_get_all_items(playlist, items);
    std::vector<std::string> out;
    for (const auto& t : items) out.emplace_back(t->get_path());
    return out;
}
