#pragma once

// The host's metadb_handle: one per location (see Metadb), holding what the
// host knows of the track as an immutable snapshot that is replaced, never
// edited, so formatting reads it without holding a lock.
//
// The info (tags, technical info, size) is read from the file on first need;
// code off the main thread calls loadInfo() first so that the main thread never
// waits for the disk. A file that cannot be read is remembered as such (its
// title falls back to the file name, its length is unknown) and not read again
// until reload().
//
// Threads: any.

#include "abort_callback.h"
#include "metadb_handle.h"
#include "TrackKey.h"

#include "TrackFields.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace library {

class Metadb;
struct PlayStats;

class TrackHandle final : public metadb_handle {
public:
    struct Info {
        titleformat::TrackInfo track;  // statistics included
        bool loaded = false;           // the file was read successfully
        std::string error;             // why it could not be, when it was tried
    };

    // Null for handles the host did not make.
    static TrackHandle* from(const metadb_handle_ptr& handle);

    const TrackKey& key() const { return m_key; }
    // The file's path without the scheme; empty for a location that is no local file.
    const std::string& nativePath() const { return m_nativePath; }

    // Reads the info now unless it was read successfully before. Throws
    // exception_io (with the reason) when the file cannot be read as audio,
    // exception_aborted when `abort` is raised first.
    void loadInfo(abort_callback& abort);
    // Reads the file again (it changed on disk); false and `error` set when it
    // cannot be read any more.
    bool reload(std::string* error = nullptr);
    // The current snapshot, read from the file first if never tried.
    std::shared_ptr<const Info> info() const;
    bool infoLoaded() const;

    // format_title with the playback engine's extras: `playing` for the playing
    // track's fields, `list` for %list_index%; either may be null.
    bool formatTitle(titleformat_hook* hook, cvk::string_base& out,
                     const service_ptr_t<titleformat_object>& script, titleformat_text_filter* filter,
                     const titleformat::PlaybackState* playing, const titleformat::ListPosition* list) const;

    // --- metadb_handle ---
    const char* get_path() const override { return m_key.location.c_str(); }
    uint32_t get_subsong_index() const override { return m_key.subsong; }
    double get_length() const override;
    t_filesize get_filesize() const override;
    bool format_title(titleformat_hook* hook, cvk::string_base& out,
                      const service_ptr_t<titleformat_object>& script,
                      titleformat_text_filter* filter) const override;

    int service_add_ref() noexcept override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
    int service_release() noexcept override;
    bool service_query(service_ptr_t<service_base>& out, const GUID& guid) override;

private:
    friend class Metadb;
    TrackHandle(Metadb& owner, TrackKey key, std::string nativePath);
    ~TrackHandle() = default;

    // Takes a reference unless the last one is already gone (the handle is
    // then on its way out of Metadb's map and must not come back).
    bool tryAddRef() noexcept;

    // Reads the file; the caller holds m_loadMutex.
    void readLocked(abort_callback& abort) const;
    // Installs `info` with the statistics of the moment.
    void publish(std::shared_ptr<Info> info) const;
    std::shared_ptr<const Info> current() const;
    // Statistics changed: the snapshot, when there is one, takes them over.
    void applyStats(const PlayStats& stats);

    Metadb& m_owner;
    const TrackKey m_key;
    const std::string m_nativePath;
    std::atomic<int32_t> m_refs{1};

    mutable std::mutex m_loadMutex;  // one disk read at a time
    mutable std::mutex m_mutex;      // guards m_info
    mutable std::shared_ptr<const Info> m_info;
};

}  // namespace library
