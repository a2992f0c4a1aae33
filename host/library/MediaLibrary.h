#pragma once

// The media library: the audio files under the folders the user chose, as
// track handles with their info read. The folders are kept in the
// configuration store (kFoldersKey, one folder a line); every change of them
// starts a fresh scan. A scan runs on a worker thread, reads each file's info
// there and hands the finished list to the main thread in one piece, so the
// library never shows half a scan.
//
// Threads: main thread, apart from the worker it owns.
// Ownership: the one instance lives until the process ends; stop() ends its
// worker (the host calls it at quit).

#include "abort_callback.h"
#include "metadb_handle.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace library {

class MediaLibrary : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kFoldersKey = "host.library.folders";

    static MediaLibrary& instance();

    // Made absolute, cleaned and without duplicates; saved, then scanned.
    void setFolders(const QStringList& folders);
    QStringList folders() const { return m_folders; }
    // Takes the folders saved in the configuration store and scans them.
    void loadFolders();
    // Scans the folders again (files changed on disk).
    void rescan();
    // Ends a scan in progress; its results are dropped.
    void stop();

    bool isEnabled() const { return !m_folders.isEmpty(); }
    bool isScanning() const { return m_scan != nullptr; }
    // Sorted by path (natural order, folder by folder).
    const metadb_handle_list& items() const { return m_items; }
    bool contains(const metadb_handle_ptr& track) const;

signals:
    // A scan finished and its tracks replaced the library's.
    void itemsChanged();

private:
    struct Scan {
        uint64_t id = 0;
        abort_callback_impl abort;
        std::vector<std::string> roots;  // none inside another
        std::thread worker;
    };

    MediaLibrary() = default;
    void setFoldersInternal(const QStringList& folders);
    void start();
    static metadb_handle_list run(Scan& scan);
    // No items: the scan failed, the library stays as it was.
    void finish(uint64_t scanId, std::optional<metadb_handle_list> items);

    QStringList m_folders;
    std::unique_ptr<Scan> m_scan;
    uint64_t m_lastScanId = 0;
    metadb_handle_list m_items;
    std::unordered_set<const metadb_handle*> m_members;
};

}  // namespace library
