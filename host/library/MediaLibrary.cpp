#include "MediaLibrary.h"

#include "Console.h"
#include "FolderScan.h"
#include "MainQueue.h"
#include "Metadb.h"
#include "TrackHandle.h"

#include "config_store.h"
#include "exceptions.h"
#include "std_api.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace library {

namespace {

// Folders to walk: sorted, and none that another one already covers.
std::vector<std::string> scanRoots(QStringList folders) {
    const QCollator collator = naturalCollator();
    std::sort(folders.begin(), folders.end(), [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    std::vector<std::string> roots;
    for (const QString& folder : folders) {
        const bool covered = std::any_of(folders.begin(), folders.end(), [&](const QString& other) {
            return other != folder && (other == QStringLiteral("/") || folder.startsWith(other + u'/'));
        });
        if (!covered) roots.push_back(QFile::encodeName(folder).toStdString());
    }
    return roots;
}

}  // namespace

MediaLibrary& MediaLibrary::instance() {
    // Never destroyed: a scan's hand-back may still be queued at exit.
    static MediaLibrary* const library = new MediaLibrary;
    return *library;
}

void MediaLibrary::setFolders(const QStringList& folders) {
    setFoldersInternal(folders);
    qvn::std_api_get<qvn::configStore>()->setConfigString(kFoldersKey,
                                                          m_folders.join(u'\n').toUtf8().constData());
    start();
}

void MediaLibrary::loadFolders() {
    const qvn::stringRef saved = qvn::std_api_get<qvn::configStore>()->getConfigString(kFoldersKey, "");
    setFoldersInternal(QString::fromUtf8(saved ? saved->c_str() : "").split(u'\n', Qt::SkipEmptyParts));
    start();
}

void MediaLibrary::setFoldersInternal(const QStringList& folders) {
    m_folders.clear();
    for (const QString& folder : folders) {
        if (folder.trimmed().isEmpty()) continue;
        const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        if (!m_folders.contains(clean)) m_folders.push_back(clean);
    }
}

void MediaLibrary::rescan() { start(); }

void MediaLibrary::stop() {
    if (!m_scan) return;
    m_scan->abort.abort();
    if (m_scan->worker.joinable()) m_scan->worker.join();
    m_scan.reset();
}

void MediaLibrary::start() {
    stop();
    if (m_folders.isEmpty()) {
        finish(0, metadb_handle_list{});
        return;
    }
    m_scan = std::make_unique<Scan>();
    Scan& scan = *m_scan;
    scan.id = ++m_lastScanId;
    scan.roots = scanRoots(m_folders);
    scan.worker = std::thread([this, &scan] {
        std::optional<metadb_handle_list> items;
        try {
            items = run(scan);
        } catch (const exception_aborted&) {
            return;
        } catch (const std::exception& e) {
            // The library keeps what it had; the scan only ends.
            Console::global().print(std::string("Library: scan failed: ") + e.what());
        }
        platform::async(
            this, [this, id = scan.id, items = std::move(items)]() mutable { finish(id, std::move(items)); });
    });
}

metadb_handle_list MediaLibrary::run(Scan& scan) {
    metadb_handle_list items;
    std::unordered_set<std::string> seen;
    for (const std::string& root : scan.roots) {
        for (const std::string& path : audioFilesIn(root, scan.abort)) {
            scan.abort.check();
            if (!seen.insert(path).second) continue;
            service_ptr_t<metadb_handle> track = Metadb::instance().handleFor(path);
            try {
                TrackHandle::from(track)->loadInfo(scan.abort);
            } catch (const exception_io& e) {
                Console::global().print("Library: skipped " + path + ": " + e.what());
                continue;
            }
            items.push_back(std::move(track));
        }
    }
    return items;
}

void MediaLibrary::finish(uint64_t scanId, std::optional<metadb_handle_list> items) {
    if (scanId != 0) {
        if (!m_scan || m_scan->id != scanId) return;  // stopped or replaced meanwhile
        if (m_scan->worker.joinable()) m_scan->worker.join();
        m_scan.reset();
    }
    if (!items) return;
    m_items = std::move(*items);
    m_members.clear();
    for (const auto& track : m_items) m_members.insert(track.get_ptr());
    Metadb::instance().noteAdded(m_items);
    emit itemsChanged();
}

bool MediaLibrary::contains(const metadb_handle_ptr& track) const {
    return track && m_members.count(track.get_ptr()) != 0;
}

}  // namespace library
