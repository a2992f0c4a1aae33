#include "DroppedFiles.h"

#include <QMimeData>
#include <QUrl>

namespace platform {

std::vector<std::string> droppedFiles(const QMimeData& data) {
    std::vector<std::string> paths;
    if (!data.hasUrls()) return paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (path.isEmpty() || path.contains(QChar(0))) continue;
        paths.push_back(path.toStdString());
    }
    return paths;
}

}  // namespace platform
