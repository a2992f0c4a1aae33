#include "Metadb.h"

#include "Console.h"
#include "TrackHandle.h"

#include <ctime>
#include <system_error>

namespace fs = std::filesystem;

namespace library {

namespace {

constexpr std::string_view kFileScheme = "file://";

// "http://", "cdda://": a scheme of letters, digits, '+', '-' or '.'.
bool hasScheme(std::string_view location) {
    const size_t colon = location.find("://");
    if (colon == std::string_view::npos || colon == 0) return false;
    for (size_t i = 0; i < colon; ++i) {
        const char c = location[i];
        const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alpha && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return false;
    }
    return true;
}

int64_t now() { return int64_t(std::time(nullptr)); }

}  // namespace

Metadb::Metadb() : m_stats(std::make_shared<PlayStatistics>(Console::global())) {}

Metadb& Metadb::instance() {
    // Never destroyed: handles held by other static objects release into it
    // during their own destruction.
    static Metadb* const metadb = new Metadb;
    return *metadb;
}

TrackKey Metadb::keyFor(std::string_view location, uint32_t subsong) {
    std::string_view path = location;
    if (location.starts_with(kFileScheme)) {
        path.remove_prefix(kFileScheme.size());
    } else if (location.empty() || hasScheme(location)) {
        return {std::string(location), subsong};
    }
    if (path.empty()) return {std::string(location), subsong};
    fs::path p{std::string(path)};
    std::error_code ec;
    if (!p.is_absolute()) p = fs::absolute(p, ec);
    std::string normal = p.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return {std::string(kFileScheme) + normal, subsong};
}

service_ptr_t<metadb_handle> Metadb::handleFor(std::string_view location, uint32_t subsong) {
    TrackKey key = keyFor(location, subsong);
    std::string native;
    if (key.location.starts_with(kFileScheme) && key.location.size() > kFileScheme.size())
        native = key.location.substr(kFileScheme.size());

    service_ptr_t<metadb_handle> out;
    std::lock_guard lock(m_mapMutex);
    auto [it, fresh] = m_handles.try_emplace(key, nullptr);
    if (!fresh && it->second->tryAddRef()) {
        out.attach(it->second);
        return out;
    }
    // The entry, if any, belongs to a handle whose last reference is gone; it
    // removes itself only while it is still the one mapped.
    auto* handle = new TrackHandle(*this, std::move(key), std::move(native));
    it->second = handle;
    out.attach(handle);
    return out;
}

size_t Metadb::handleCount() const {
    std::lock_guard lock(m_mapMutex);
    return m_handles.size();
}

void Metadb::destroy(TrackHandle* handle) {
    {
        std::lock_guard lock(m_mapMutex);
        const auto it = m_handles.find(handle->key());
        if (it != m_handles.end() && it->second == handle) m_handles.erase(it);
    }
    delete handle;
}

TrackHandle* Metadb::liveHandle(const TrackKey& key) {
    std::lock_guard lock(m_mapMutex);
    const auto it = m_handles.find(key);
    return it != m_handles.end() && it->second->tryAddRef() ? it->second : nullptr;
}

TrackKey Metadb::keyOf(const metadb_handle_ptr& track) {
    if (const TrackHandle* own = TrackHandle::from(track)) return own->key();
    return keyFor(track->get_path(), track->get_subsong_index());
}

std::shared_ptr<PlayStatistics> Metadb::stats() const {
    std::lock_guard lock(m_statsMutex);
    return m_stats;
}

void Metadb::applyStats(const TrackKey& key, const PlayStats& stats) {
    service_ptr_t<TrackHandle> live;
    live.attach(liveHandle(key));
    if (live) live->applyStats(stats);
}

void Metadb::openStatistics(const fs::path& file) {
    auto opened = std::make_shared<PlayStatistics>(file, Console::global());
    {
        std::lock_guard lock(m_statsMutex);
        m_stats = opened;
    }
    std::vector<service_ptr_t<TrackHandle>> live;
    {
        std::lock_guard lock(m_mapMutex);
        for (const auto& [key, handle] : m_handles) {
            service_ptr_t<TrackHandle> h;
            if (handle->tryAddRef()) h.attach(handle);
            if (h) live.push_back(std::move(h));
        }
    }
    for (const auto& h : live) h->applyStats(opened->get(h->key()));
}

void Metadb::closeStatistics() {
    std::lock_guard lock(m_statsMutex);
    m_stats = std::make_shared<PlayStatistics>(Console::global());
}

PlayStats Metadb::statistics(const metadb_handle_ptr& track) const {
    return track ? statsFor(keyOf(track)) : PlayStats{};
}

void Metadb::trackPlayed(const metadb_handle_ptr& track) {
    if (!track) return;
    const TrackKey key = keyOf(track);
    applyStats(key, stats()->played(key, now()));
    notifyModified({track});
}

bool Metadb::setRating(const metadb_handle_list& tracks, uint32_t rating) {
    std::vector<TrackKey> keys;
    metadb_handle_list changed;
    for (const auto& t : tracks) {
        if (!t) continue;
        keys.push_back(keyOf(t));
        changed.push_back(t);
    }
    std::vector<PlayStats> after;
    if (!stats()->setRating(keys, rating, &after)) return false;
    for (size_t i = 0; i < keys.size(); ++i) applyStats(keys[i], after[i]);
    notifyModified(changed);
    return true;
}

void Metadb::noteAdded(const metadb_handle_list& tracks) {
    std::vector<TrackKey> keys;
    metadb_handle_list known;
    for (const auto& t : tracks) {
        if (!t) continue;
        keys.push_back(keyOf(t));
        known.push_back(t);
    }
    const auto store = stats();
    metadb_handle_list changed;
    for (size_t i : store->markAdded(keys, now())) {
        applyStats(keys[i], store->get(keys[i]));
        changed.push_back(known[i]);
    }
    notifyModified(changed);
}

void Metadb::reload(const metadb_handle_list& tracks) {
    metadb_handle_list changed;
    for (const auto& t : tracks) {
        if (TrackHandle* own = TrackHandle::from(t)) {
            own->reload();
            changed.push_back(t);
        }
    }
    notifyModified(changed);
}

void Metadb::setModifiedObserver(ModifiedObserver observer) {
    std::lock_guard lock(m_observerMutex);
    m_observer = std::move(observer);
}

void Metadb::notifyModified(const metadb_handle_list& tracks) {
    if (tracks.empty()) return;
    ModifiedObserver observer;
    {
        std::lock_guard lock(m_observerMutex);
        observer = m_observer;
    }
    if (observer) observer(tracks);
}

}  // namespace library
