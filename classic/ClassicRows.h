#pragma once

// The rows of the playlist table: one per track, in playlist order, with a
// header row before each run of tracks that share a group text; and the
// playback-queue label of each queued track. Plain data, rebuilt whole from a
// snapshot of the playlist. Main thread.

#include "metadb_handle.h"
#include "playlist_manager.h"
#include "titleformat.h"

#include <QString>

#include <cstdint>
#include <unordered_map>
#include <vector>

class ClassicRows {
public:
    // `groupScript` null: no header rows. The first track always gets a header
    // when grouping, even for an empty group text.
    void build(const metadb_handle_list& items, const service_ptr_t<titleformat_object>& groupScript,
               const QString& home);
    // Labels of the queue entries of `playlist`, numbered by their place in the
    // whole queue ("1, 3" for a track queued twice).
    void rebuildQueue(const std::vector<t_playback_queue_item>& queue, size_t playlist);

    size_t rowCount() const { return _rowItem.size(); }
    size_t itemCount() const { return _itemRow.size(); }
    bool isHeaderRow(int64_t row) const;
    // -1 for a header row and for rows out of range.
    int64_t itemForRow(int64_t row) const;
    // SIZE_MAX for an item past the end.
    size_t rowForItem(size_t item) const;
    // Playlist position for an insertion before `row`: its group's first
    // track for a header row, the item count past the last track.
    size_t insertIndexForRow(int64_t row) const;
    QString headerText(int64_t row) const;
    // Ascending.
    const std::vector<size_t>& headerRows() const { return _headerRows; }
    // Empty when the item is not queued.
    QString queueLabel(size_t item) const;

private:
    std::vector<int64_t> _rowItem;  // row → item, -1 for a header
    std::vector<size_t> _itemRow;   // item → row
    std::vector<size_t> _headerRows;
    std::vector<QString> _headers;  // text of each header row, in step with _headerRows
    std::unordered_map<size_t, QString> _queueLabels;
};
