#include "TestServices.h"

#include "service_factory.h"

namespace {

class QueueRecorder : public playback_queue_callback {
public:
    void on_changed(t_change_origin origin) override { queueChanges().push_back(origin); }
};
service_factory_single_t<QueueRecorder> g_queueRecorder;

std::string numbers(const size_t* values, size_t count) {
    std::string out = "[";
    for (size_t n = 0; n < count; ++n) out += (n ? "," : "") + std::to_string(values[n]);
    return out + "]";
}

}  // namespace

std::vector<playback_queue_callback::t_change_origin>& queueChanges() {
    static std::vector<playback_queue_callback::t_change_origin> changes;
    return changes;
}

service_ptr_t<metadb_handle> track(const std::string& name, uint32_t subsong) {
    return service_new<TestTrack>("file:///music/" + name, subsong);
}

metadb_handle_list tracks(std::initializer_list<const char*> names) {
    metadb_handle_list out;
    for (const char* n : names) out.push_back(track(n));
    return out;
}

metadb_handle_list numbered(size_t count, const std::string& prefix) {
    metadb_handle_list out;
    for (size_t n = 0; n < count; ++n) out.push_back(track(prefix + std::to_string(n)));
    return out;
}

std::string nameOf(const service_ptr_t<metadb_handle>& track) {
    const std::string path = track->get_path();
    return path.substr(path.find_last_of('/') + 1);
}

std::vector<std::string> names(playlists::PlaylistManager& m, size_t playlist) {
    metadb_handle_list items;
    m.playlist_get_all_items(playlist, items);
    std::vector<std::string> out;
    for (const auto& t : items) out.push_back(nameOf(t));
    return out;
}

std::string list(const metadb_handle_list& data) {
    std::string out = "[";
    for (size_t n = 0; n < data.size(); ++n) out += (n ? "," : "") + nameOf(data[n]);
    return out + "]";
}

std::string bits(const bit_array& mask, size_t count) {
    std::string out;
    for (size_t n = 0; n < count; ++n) out += mask.get(n) ? '1' : '0';
    return out;
}

std::string num(size_t n) { return n == SIZE_MAX ? "none" : std::to_string(n); }

service_ptr_t<playlists::PlaylistManager> newManager() {
    auto m = service_new<playlists::PlaylistManager>();
    m->seedRandom(7);
    queueChanges().clear();
    return m;
}

void EventLog::on_items_reordered(size_t p, const size_t* order, size_t count) {
    log("reordered " + num(p) + " " + numbers(order, count));
}

void EventLog::on_items_selection_change(size_t p, const bit_array& affected, const bit_array& state) {
    // Wide enough for the tests' playlists; trailing zeros trimmed.
    std::string a = bits(affected, 16), s = bits(state, 16);
    while (!a.empty() && a.back() == '0') a.pop_back();
    while (!s.empty() && s.back() == '0') s.pop_back();
    log("selection " + num(p) + " affected=" + a + " state=" + s);
}

void EventLog::on_playlists_reorder(const size_t* order, size_t count) {
    log("playlists_reorder " + numbers(order, count));
}

bool TestLock::query_items_reorder(const size_t* order, size_t count) {
    return answer(filter_reorder, "reorder " + numbers(order, count));
}
