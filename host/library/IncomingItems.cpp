#include "IncomingItems.h"

#include "Console.h"
#include "FolderScan.h"
#include "MainQueue.h"
#include "Metadb.h"
#include "TrackHandle.h"

#include "exceptions.h"
#include "service_factory.h"
#include "SupportedFormats.h"

#include <QFile>
#include <QUrl>

#include <filesystem>

namespace fs = std::filesystem;

namespace library {

namespace {

constexpr std::string_view kFileScheme = "file://";

std::vector<QRegularExpression> wildcards(const char* mask) {
    std::vector<QRegularExpression> out;
    if (!mask) return out;
    for (const QString& pattern : QString::fromUtf8(mask).split(u';', Qt::SkipEmptyParts)) {
        out.emplace_back(QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
                         QRegularExpression::CaseInsensitiveOption);
    }
    return out;
}

bool anyMatch(const std::vector<QRegularExpression>& patterns, const QString& name) {
    for (const auto& re : patterns) {
        if (re.match(name).hasMatch()) return true;
    }
    return false;
}

void skipped(const std::string& what, const std::string& why) {
    Console::global().print("Adding files: skipped " + what + ": " + why);
}

// A location as a path on disk; empty when it names no local file. Our own
// "file://" locations are plain paths after the scheme; other applications
// percent-encode theirs.
std::string localPath(const std::string& location) {
    if (!location.starts_with(kFileScheme)) {
        if (location.find("://") != std::string::npos) return {};
        std::error_code ec;
        return fs::absolute(location, ec).lexically_normal().string();
    }
    std::string raw = location.substr(kFileScheme.size());
    std::error_code ec;
    if (fs::exists(raw, ec)) return raw;
    const QString decoded = QUrl(QString::fromStdString(location)).toLocalFile();
    if (!decoded.isEmpty() && fs::exists(QFile::encodeName(decoded).toStdString(), ec))
        return QFile::encodeName(decoded).toStdString();
    return raw;
}

}  // namespace

IncomingItems& IncomingItems::instance() {
    // Never destroyed: a worker's hand-back may still be queued at exit.
    static IncomingItems* const incoming = new IncomingItems;
    return *incoming;
}

void IncomingItems::process(std::vector<std::string> locations, uint32_t opFlags, const char* restrictMask,
                            const char* excludeMask, service_ptr_t<process_locations_notify> notify) {
    if (m_closed) {
        if (notify) notify->on_aborted();
        return;
    }
    auto job = std::make_unique<Job>();
    job->id = ++m_lastId;
    job->locations = std::move(locations);
    if (!(opFlags & playlist_incoming_item_filter_v2::op_flag_no_filter)) {
        job->restrict = wildcards(restrictMask);
        job->exclude = wildcards(excludeMask);
    }
    job->notify = std::move(notify);
    Job& j = *job;
    m_jobs.emplace(j.id, std::move(job));
    j.worker = std::thread([this, &j] {
        metadb_handle_list items;
        bool aborted = false;
        try {
            items = resolve(j);
        } catch (const exception_aborted&) {
            aborted = true;
        } catch (const std::exception& e) {
            // The notify must still hear once; nothing half-done is handed over.
            Console::global().print(std::string("Adding files failed: ") + e.what());
            aborted = true;
        }
        if (aborted) items.clear();
        platform::async(this, [this, id = j.id, items = std::move(items), aborted]() mutable {
            finish(id, std::move(items), aborted);
        });
    });
}

metadb_handle_list IncomingItems::resolve(Job& job) {
    metadb_handle_list items;
    auto add = [&](const std::string& path) {
        service_ptr_t<metadb_handle> track = Metadb::instance().handleFor(path);
        try {
            TrackHandle::from(track)->loadInfo(job.abort);
        } catch (const exception_io& e) {
            skipped(path, e.what());
            return;
        }
        items.push_back(std::move(track));
    };
    auto wanted = [&](const std::string& path) {
        const QString name = QString::fromUtf8(fs::path(path).filename().string());
        return (job.restrict.empty() || anyMatch(job.restrict, name)) && !anyMatch(job.exclude, name);
    };

    for (const std::string& location : job.locations) {
        job.abort.check();
        const std::string path = localPath(location);
        if (path.empty()) {
            skipped(location, "not a local file");
            continue;
        }
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (fs::is_directory(status)) {
            for (const std::string& file : audioFilesIn(path, job.abort)) {
                if (wanted(file)) add(file);
            }
        } else if (!fs::exists(status)) {
            skipped(path, "file not found");
        } else if (!fs::is_regular_file(status) || !media::supportedExtension(path)) {
            skipped(path, "not a supported audio file");
        } else if (wanted(path)) {
            add(path);
        }
    }
    return items;
}

void IncomingItems::finish(uint64_t id, metadb_handle_list items, bool aborted) {
    const auto it = m_jobs.find(id);
    if (it == m_jobs.end()) return;  // answered at shutdown
    std::unique_ptr<Job> job = std::move(it->second);
    m_jobs.erase(it);
    if (job->worker.joinable()) job->worker.join();
    if (!job->notify) return;
    // Called last: the notify may start another request.
    if (aborted || job->abort.is_aborting()) {
        job->notify->on_aborted();
    } else {
        job->notify->on_completion(items);
    }
}

void IncomingItems::abortAll() {
    for (auto& [id, job] : m_jobs) job->abort.abort();
}

void IncomingItems::shutdown() {
    m_closed = true;
    abortAll();
    std::vector<service_ptr_t<process_locations_notify>> pending;
    for (auto& [id, job] : m_jobs) {
        if (job->worker.joinable()) job->worker.join();
        pending.push_back(std::move(job->notify));
    }
    m_jobs.clear();
    for (auto& notify : pending) {
        if (notify) notify->on_aborted();
    }
}

}  // namespace library

namespace library {

namespace {

class IncomingItemFilter : public playlist_incoming_item_filter_v2 {
public:
    void process_locations_async(const std::vector<std::string>& locations, uint32_t op_flags,
                                 const char* restrict_mask, const char* exclude_mask, QWidget*,
                                 service_ptr_t<process_locations_notify> notify) override {
        IncomingItems::instance().process(locations, op_flags, restrict_mask, exclude_mask,
                                          std::move(notify));
    }
};

service_factory_singleton_t<IncomingItemFilter> g_incomingItemFilterFactory;

}  // namespace

}  // namespace library
