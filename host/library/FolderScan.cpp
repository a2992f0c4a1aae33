#include "FolderScan.h"

#include "SupportedFormats.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace library {

namespace {

class Walk {
public:
    explicit Walk(abort_callback& abort) : m_abort(abort), m_collator(naturalCollator()) {}

    void folder(const fs::path& dir) {
        m_abort.check();
        std::error_code ec;
        const fs::path canonical = fs::canonical(dir, ec);
        if (ec || !m_visited.insert(canonical.string()).second) return;

        struct Entry {
            fs::path path;
            QString name;
            bool isFolder;
        };
        std::vector<Entry> entries;
        fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.empty() || name.front() == '.') continue;
            std::error_code kind;
            if (it->is_directory(kind)) {
                entries.push_back({it->path(), QString::fromUtf8(name), true});
            } else if (it->is_regular_file(kind) && media::supportedExtension(name)) {
                entries.push_back({it->path(), QString::fromUtf8(name), false});
            }
        }
        std::sort(entries.begin(), entries.end(), [this](const Entry& a, const Entry& b) {
            const int order = m_collator.compare(a.name, b.name);
            return order != 0 ? order < 0 : a.path < b.path;
        });
        for (const Entry& e : entries) {
            if (e.isFolder) {
                folder(e.path);
            } else {
                files.push_back(e.path.string());
            }
        }
    }

    std::vector<std::string> files;

private:
    abort_callback& m_abort;
    QCollator m_collator;
    std::set<std::string> m_visited;
};

}  // namespace

QCollator naturalCollator() {
    // Qt collates the C locale (a machine without LANG) by code units, which
    // ignores numbers and case; such a machine gets the plain English order.
    QLocale locale;
    if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

std::vector<std::string> audioFilesIn(const std::string& folder, abort_callback& abort) {
    Walk walk(abort);
    walk.folder(fs::path(folder));
    return std::move(walk.files);
}

}  // namespace library
