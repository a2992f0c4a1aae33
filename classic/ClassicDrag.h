#pragma once

// The drag in progress from a Classic table or the library search window, one
// for the whole bundle. A view that receives a drop carrying kRowsType asks
// g_drag what is being dragged: the tracks are taken from here, not from the
// drag's data, so a drop within this application needs no files.
//
// A drag source fills g_drag when its drag begins (begin) and resets it when
// the drag ends, however it ends; between drags it stays reset. Main thread.

#include "metadb_handle.h"

#include <QMimeData>
#include <QStringList>

#include <cstddef>
#include <vector>

// The drag data type of dragged rows: one line per dragged row, its item index
// in decimal, or kLibraryRows for a row of the library search window.
inline constexpr char kRowsType[] = "com.quorvane.qov-classic-ui.rows";
inline constexpr char kLibraryRows[] = "library";
// Rows of one of the player's own playlist views, which the tab strip takes too.
inline constexpr char kViewInstanceType[] = "com.quorvane.viewinstance";

// Puts `rows` (one entry per dragged row) into `data` under kRowsType.
void setDraggedRows(QMimeData& data, const QStringList& rows);

struct ClassicDrag {
    bool active = false;
    size_t playlist = SIZE_MAX;  // SIZE_MAX: not from a playlist (the library window)
    std::vector<size_t> items;   // item indices in `playlist`, ascending; empty from the library
    metadb_handle_list handles;  // the dragged tracks, in the same order

    // Starts a drag of `handles`; `items` are their indices in `playlist`.
    void begin(size_t playlist, std::vector<size_t> items, metadb_handle_list handles);
    void reset();

    // A drop of rows dragged here, rather than of some other application's data.
    bool carries(const QMimeData& data) const { return active && data.hasFormat(kRowsType); }
};

extern ClassicDrag g_drag;
