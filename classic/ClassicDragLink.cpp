#include "ClassicDragLink.h"

#include <QMimeData>

namespace classic_drag {

namespace {

struct Drag {
    bool active = false;
    metadb_handle_list tracks;
};

Drag& current() {
    static Drag drag;
    return drag;
}

}  // namespace

void beginLibraryDrag(metadb_handle_list tracks) { current() = {true, std::move(tracks)}; }

void endDrag() { current() = {}; }

const metadb_handle_list* activeTracks() { return current().active ? &current().tracks : nullptr; }

void setRows(QMimeData& data, const QStringList& entries) {
    data.setData(QString::fromLatin1(kRowsType), entries.join(u'\n').toUtf8());
}

QStringList rows(const QMimeData& data) {
    const QByteArray bytes = data.data(QString::fromLatin1(kRowsType));
    if (bytes.isEmpty()) return {};
    return QString::fromUtf8(bytes).split(u'\n');
}

}  // namespace classic_drag
