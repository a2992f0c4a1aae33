#pragma once

// Turns dropped or pasted locations into tracks (playlist_incoming_item_filter_v2).
// Each request runs on a worker of its own: folders are walked (audio files
// only, natural order inside each folder), every file's info is read there, and
// the tracks come back on the main thread in the order of the locations. A file
// that cannot be read is left out with one console line naming it and the
// reason; everything readable comes back.
//
// Threads: main thread, apart from the workers it owns.
// Ownership: the one instance lives until the process ends. Each notify object
// is held until it has been called, exactly once; shutdown() calls every
// pending one with on_aborted before the components that own them go.

#include "abort_callback.h"
#include "playlist_incoming_item_filter.h"

#include <QObject>
#include <QRegularExpression>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace library {

class IncomingItems : public QObject {
    Q_OBJECT

public:
    static IncomingItems& instance();

    // As process_locations_async; the masks are wildcard lists ("*.flac;*.mp3")
    // matched against file names, null for the defaults.
    void process(std::vector<std::string> locations, uint32_t opFlags, const char* restrictMask,
                 const char* excludeMask, service_ptr_t<process_locations_notify> notify);

    // Cancels every request in progress: their notify objects get on_aborted
    // (on a later turn of the main loop).
    void abortAll();
    // At quit: cancels, waits for the workers and calls on_aborted of every
    // pending notify now. Requests made afterwards are aborted at once, until
    // reopen().
    void shutdown();
    void reopen() { m_closed = false; }

    size_t pendingCount() const { return m_jobs.size(); }

private:
    struct Job {
        uint64_t id = 0;
        abort_callback_impl abort;
        std::vector<std::string> locations;
        std::vector<QRegularExpression> restrict;  // empty: everything
        std::vector<QRegularExpression> exclude;
        service_ptr_t<process_locations_notify> notify;
        std::thread worker;
    };

    IncomingItems() = default;
    static metadb_handle_list resolve(Job& job);
    void finish(uint64_t id, metadb_handle_list items, bool aborted);

    std::map<uint64_t, std::unique_ptr<Job>> m_jobs;
    uint64_t m_lastId = 0;
    bool m_closed = false;
};

}  // namespace library
