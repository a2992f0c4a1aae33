#pragma once

// The tracks of a drag begun in a Classic view (a playlist, or the library
// search window), for the Classic views that take drops: a drop cannot read
// tracks off the pasteboard, only locations, so the source leaves them here
// from the start of its drag to the end. One drag at a time. Main thread.

#include "metadb_handle.h"

#include <QString>
#include <QStringList>

class QMimeData;

namespace classic_drag {

// Rows of a Classic view: one entry per dragged row.
inline constexpr char kRowsType[] = "com.quorvane.qov-classic-ui.rows";
// Rows of one of the player's own playlist views.
inline constexpr char kViewInstanceType[] = "com.quorvane.viewinstance";
// The row entry of a track dragged out of the library search window.
inline constexpr char kLibraryRow[] = "library";

// A drag of tracks that come from no playlist.
void beginLibraryDrag(metadb_handle_list tracks);
void endDrag();
// Null while no Classic drag is under way.
const metadb_handle_list* activeTracks();

// The row entries under kRowsType, one line each.
void setRows(QMimeData& data, const QStringList& entries);
QStringList rows(const QMimeData& data);

}  // namespace classic_drag
