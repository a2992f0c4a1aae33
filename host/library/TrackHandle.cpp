#include "TrackHandle.h"

#include "HookedFields.h"
#include "Metadb.h"
#include "TitleformatService.h"

#include "exceptions.h"
#include "TrackInfoReader.h"

namespace library {

namespace {

// The engine names tags in lower case and knows the album artist by its
// spoken name.
std::string engineTagName(const std::string& name) {
    if (name == "ALBUMARTIST") return "album artist";
    std::string lower = name;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return lower;
}

void fillFrom(const media::TrackInfo& m, titleformat::TrackInfo& t) {
    t.length = m.technical.length;
    t.fileSize = m.fileSize > 0 ? int64_t(m.fileSize) : -1;
    t.codec = m.technical.codec;
    t.bitrate = m.technical.bitrate;
    t.sampleRate = m.technical.sampleRate;
    t.channels = m.technical.channels;
    t.bitsPerSample = m.technical.bitsPerSample;
    t.extraInfo = {{"encoding", m.technical.lossless ? "lossless" : "lossy"}};
    t.tags.clear();
    t.tags.reserve(m.tags.size());
    for (const auto& [name, values] : m.tags) t.tags.push_back({engineTagName(name), values});
}

// Formatting output is built here and copied into the caller's string once;
// the buffer keeps its storage, so a long playlist allocates nothing per row.
// A hook may format another track from inside a run: that nested run gets a
// buffer of its own.
thread_local std::string t_buffer;
thread_local int t_depth = 0;

}  // namespace

TrackHandle::TrackHandle(Metadb& owner, TrackKey key, std::string nativePath)
    : m_owner(owner), m_key(std::move(key)), m_nativePath(std::move(nativePath)) {}

TrackHandle* TrackHandle::from(const metadb_handle_ptr& handle) {
    return dynamic_cast<TrackHandle*>(handle.get_ptr());
}

bool TrackHandle::tryAddRef() noexcept {
    int32_t n = m_refs.load(std::memory_order_relaxed);
    while (n > 0) {
        if (m_refs.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel, std::memory_order_relaxed))
            return true;
    }
    return false;
}

int TrackHandle::service_release() noexcept {
    const int32_t old = m_refs.fetch_sub(1, std::memory_order_acq_rel);
    if (old == 1) m_owner.destroy(this);
    return old - 1;
}

bool TrackHandle::service_query(service_ptr_t<service_base>& out, const GUID& guid) {
    return implement_service_query<metadb_handle>(this, out, guid);
}

std::shared_ptr<const TrackHandle::Info> TrackHandle::current() const {
    std::lock_guard lock(m_mutex);
    return m_info;
}

void TrackHandle::publish(std::shared_ptr<Info> info) const {
    info->track.path = m_nativePath.empty() ? m_key.location : m_nativePath;
    info->track.subsong = m_key.subsong;
    std::lock_guard lock(m_mutex);
    // Read under the lock: a statistics change either lands in the store before
    // this read or finds this snapshot to update.
    const PlayStats stats = m_owner.statsFor(m_key);
    info->track.playCount = stats.playCount;
    info->track.firstPlayed = stats.firstPlayed;
    info->track.lastPlayed = stats.lastPlayed;
    info->track.added = stats.added;
    info->track.rating = stats.rating;
    m_info = std::move(info);
}

void TrackHandle::applyStats(const PlayStats& stats) {
    std::lock_guard lock(m_mutex);
    if (!m_info) return;
    auto next = std::make_shared<Info>(*m_info);
    next->track.playCount = stats.playCount;
    next->track.firstPlayed = stats.firstPlayed;
    next->track.lastPlayed = stats.lastPlayed;
    next->track.added = stats.added;
    next->track.rating = stats.rating;
    m_info = std::move(next);
}

void TrackHandle::readLocked(abort_callback& abort) const {
    auto info = std::make_shared<Info>();
    if (m_nativePath.empty()) {
        info->error = "Not a local file";
        publish(info);
        throw exception_io(info->error + ": " + m_key.location);
    }
    try {
        const media::TrackInfo read = media::TrackInfoReader::read(m_nativePath, m_key.subsong,
                                                                   [&abort] { return abort.is_aborting(); });
        fillFrom(read, info->track);
        info->loaded = true;
    } catch (const exception_aborted&) {
        throw;  // nothing learnt: the next reader tries again
    } catch (const std::exception& e) {
        // The decoder names the file after its reason; whoever reports this
        // names the track already.
        info->error = e.what();
        const std::string tail = ": " + m_nativePath;
        if (info->error.size() > tail.size() && info->error.ends_with(tail))
            info->error.resize(info->error.size() - tail.size());
    }
    publish(info);
    if (!info->loaded) throw exception_io(info->error);
}

void TrackHandle::loadInfo(abort_callback& abort) {
    abort.check();
    if (const auto cur = current(); cur && cur->loaded) return;
    std::lock_guard load(m_loadMutex);
    if (const auto cur = current(); cur && cur->loaded) return;
    readLocked(abort);
}

bool TrackHandle::reload(std::string* error) {
    std::lock_guard load(m_loadMutex);
    abort_callback_dummy never;
    try {
        readLocked(never);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
}

std::shared_ptr<const TrackHandle::Info> TrackHandle::info() const {
    if (auto cur = current()) return cur;
    std::lock_guard load(m_loadMutex);
    if (auto cur = current()) return cur;
    abort_callback_dummy never;
    try {
        readLocked(never);
    } catch (const std::exception&) {
        // Remembered in the snapshot; the track shows what its location tells.
    }
    return current();
}

bool TrackHandle::infoLoaded() const {
    const auto cur = current();
    return cur && cur->loaded;
}

double TrackHandle::get_length() const { return info()->track.length; }

t_filesize TrackHandle::get_filesize() const {
    const auto snapshot = info();
    return snapshot->loaded && snapshot->track.fileSize >= 0 ? t_filesize(snapshot->track.fileSize)
                                                             : filesize_invalid;
}

bool TrackHandle::format_title(titleformat_hook* hook, cvk::string_base& out,
                               const service_ptr_t<titleformat_object>& script,
                               titleformat_text_filter* filter) const {
    return formatTitle(hook, out, script, filter, nullptr, nullptr);
}

bool TrackHandle::formatTitle(titleformat_hook* hook, cvk::string_base& out,
                              const service_ptr_t<titleformat_object>& script,
                              titleformat_text_filter* filter, const titleformat::PlaybackState* playing,
                              const titleformat::ListPosition* list) const {
    out.reset();
    if (!script) return false;
    const auto snapshot = info();
    const titleformat::TrackFields fields(snapshot->track, playing, list);

    const TitleformatScript* compiled = TitleformatScript::from(script);
    if (!compiled) {
        // A script the host did not compile only knows hooks: give it one.
        FieldsAsHook asHook(fields, hook);
        script->run(&asHook, out, filter);
        return true;
    }
    struct Depth {
        Depth() { ++t_depth; }
        ~Depth() { --t_depth; }
    };
    std::string nested;
    std::string& buffer = t_depth == 0 ? t_buffer : nested;
    const Depth depth;
    if (!hook && !filter) {
        compiled->script().format(fields, buffer);
    } else {
        compiled->script().format(HookedFields(&fields, hook, filter), buffer);
    }
    out.set_string(buffer.data(), buffer.size());
    return true;
}

}  // namespace library
