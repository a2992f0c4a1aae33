#include "ClassicDrag.h"

ClassicDrag g_drag;

void ClassicDrag::begin(size_t from, std::vector<size_t> indices, metadb_handle_list tracks) {
    active = true;
    playlist = from;
    items = std::move(indices);
    handles = std::move(tracks);
}

void ClassicDrag::reset() {
    active = false;
    playlist = SIZE_MAX;
    items.clear();
    handles.clear();
}

void setDraggedRows(QMimeData& data, const QStringList& rows) {
    data.setData(QLatin1String(kRowsType), rows.join(u'\n').toUtf8());
}
