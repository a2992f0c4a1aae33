#include "FakePlaylists.h"

#include "service_factory.h"

#include <algorithm>

namespace {
service_factory_singleton_t<FakePlaylists> g_fakePlaylists;
}

FakePlaylists& FakePlaylists::instance() { return g_fakePlaylists.get_static_instance(); }

void FakePlaylists::reset(metadb_handle_list tracks, std::vector<bool> selection) {
    items = std::move(tracks);
    selected = std::move(selection);
    selected.resize(items.size());
    queue.clear();
    played.clear();
}

bool FakePlaylists::playlist_get_name(size_t playlist, cvk::string_base& out) {
    out = "Default";
    return playlist == 0;
}

void FakePlaylists::playlist_get_items(size_t playlist, metadb_handle_list& out, const bit_array& mask) {
    out.clear();
    if (playlist != 0) return;
    for (size_t i = 0; i < items.size(); ++i) {
        if (mask.get(i)) out.push_back(items[i]);
    }
}

service_ptr_t<metadb_handle> FakePlaylists::playlist_get_item_handle(size_t playlist, size_t item) {
    return playlist == 0 && item < items.size() ? items[item] : nullptr;
}

size_t FakePlaylists::playlist_insert_items(size_t playlist, size_t base, const metadb_handle_list& data,
                                            const bit_array& selection) {
    if (playlist != 0) return SIZE_MAX;
    base = std::min(base, items.size());
    items.insert(items.begin() + std::ptrdiff_t(base), data.begin(), data.end());
    selected.insert(selected.begin() + std::ptrdiff_t(base), data.size(), false);
    for (playlist_callback* c : callbacks) c->on_items_added(0, base, data, selection);
    return base;
}

bit_array_bittable FakePlaylists::playlist_get_selection_mask(size_t playlist) {
    return playlist == 0 ? bit_array_bittable(selected) : bit_array_bittable();
}

bool FakePlaylists::playlist_is_item_selected(size_t playlist, size_t item) {
    return playlist == 0 && item < selected.size() && selected[item];
}

bool FakePlaylists::playlist_execute_default_action(size_t playlist, size_t item) {
    if (playlist != 0 || item >= items.size()) return false;
    played.push_back(item);
    return true;
}

void FakePlaylists::queue_add_item_playlist(size_t playlist, size_t item) {
    if (playlist == 0 && item < items.size()) queue.push_back({items[item], playlist, item});
}

void FakePlaylists::queue_add_item(const service_ptr_t<metadb_handle>& track) {
    queue.push_back({track, SIZE_MAX, SIZE_MAX});
}

void FakePlaylists::queue_remove_mask(const bit_array& mask) {
    std::vector<t_playback_queue_item> kept;
    for (size_t i = 0; i < queue.size(); ++i) {
        if (!mask.get(i)) kept.push_back(queue[i]);
    }
    queue = std::move(kept);
}

void FakePlaylists::unregister_callback(playlist_callback* callback) {
    callbacks.erase(std::remove(callbacks.begin(), callbacks.end(), callback), callbacks.end());
}
