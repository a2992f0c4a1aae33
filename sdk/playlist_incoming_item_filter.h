#pragma once

// Turns dropped or pasted locations (files, folders, playlists) into tracks.
// Resolution runs off the main thread; the result comes back on it.
//
// Threads: call on the main thread; the notify object is called on the main
// thread, exactly once: on_completion or on_aborted.
// Ownership: the host holds the notify object until it has been called, and
// calls or drops every pending one before it withdraws the components'
// services at quit (the notify's code lives in its component).
// Failure: locations that cannot be read are left out; when none can, the
// completion gets an empty list. on_aborted means the user cancelled or the
// host is shutting down.

#include "metadb_handle.h"
#include "service.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QWidget;

class process_locations_notify : public service_base {
    QVN_SERVICE_INTERFACE(process_locations_notify, service_base,
                          {0xB0D85F73, 0xB46E, 0x479D, {0xA7, 0x2E, 0x43, 0x80, 0x1E, 0x8C, 0xAB, 0x67}});

    virtual void on_completion(const metadb_handle_list& items) = 0;
    virtual void on_aborted() = 0;

    // A notify object calling `done` with the tracks, or `aborted` (may be empty).
    static service_ptr_t<process_locations_notify> create(std::function<void(const metadb_handle_list&)> done,
                                                          std::function<void()> aborted = {});

private:
    class impl;
};

class process_locations_notify::impl : public process_locations_notify {
public:
    impl(std::function<void(const metadb_handle_list&)> done, std::function<void()> aborted)
        : m_done(std::move(done)), m_aborted(std::move(aborted)) {}
    void on_completion(const metadb_handle_list& items) override {
        if (m_done) m_done(items);
    }
    void on_aborted() override {
        if (m_aborted) m_aborted();
    }

private:
    std::function<void(const metadb_handle_list&)> m_done;
    std::function<void()> m_aborted;
};

inline service_ptr_t<process_locations_notify> process_locations_notify::create(
    std::function<void(const metadb_handle_list&)> done, std::function<void()> aborted) {
    return service_new<impl>(std::move(done), std::move(aborted));
}

class playlist_incoming_item_filter_v2 : public service_base {
    QVN_SERVICE_INTERFACE(playlist_incoming_item_filter_v2, service_base,
                          {0x145FA8AC, 0x1714, 0x4C82, {0x88, 0xF7, 0xD6, 0x5D, 0x1B, 0x09, 0x80, 0x89}});

    enum : uint32_t {
        // Skip the host's restrict and exclude masks altogether.
        op_flag_no_filter = 1u << 0,
        // Resolve without a modal progress window.
        op_flag_background = 1u << 1,
        // Show progress only when resolution takes a while.
        op_flag_delay_ui = 1u << 2,
    };

    // `locations`: absolute paths or "file://" URLs, UTF-8, in the order the
    // tracks should come back. Masks are wildcard lists such as "*.flac;*.mp3";
    // null uses the host's defaults (every type it can decode, nothing
    // excluded). `parent` may be null. Returns at once.
    virtual void process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags,
                                         const char* restrict_mask, const char* exclude_mask, QWidget* parent,
                                         service_ptr_t<process_locations_notify> notify) = 0;
};
