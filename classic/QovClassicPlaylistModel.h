#pragma once

// The playlist table's data: the shown playlist's tracks as rows (with group
// header rows), the columns with their compiled patterns, and the cell texts,
// formatted only when the table asks and kept in a cache of 20000 entries.
// Main thread.

#include "ClassicRows.h"
#include "metadb_handle.h"
#include "titleformat.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QString>

#include <vector>

class QovClassicPlaylistModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Roles beside Qt's own.
    enum Role {
        HeaderRowRole = Qt::UserRole + 1,  // bool: a group header row
        PlayingRowRole,                    // bool: the playing track's row
    };

    struct Column {
        QString identifier;
        QString title;
        bool right = false;
        service_ptr_t<titleformat_object> script;  // null: no pattern
    };

    static constexpr int kCacheEntries = 20000;

    explicit QovClassicPlaylistModel(QObject* parent = nullptr);

    const std::vector<Column>& columns() const { return _columns; }
    // The logical column with the identifier; -1 when there is none.
    int columnOf(const QString& identifier) const;
    void setColumns(std::vector<Column> columns);
    void appendColumn(Column column);
    void removeColumnAt(int column);

    // Replaces the rows: `playlist` is SIZE_MAX when none is shown.
    void setRows(metadb_handle_list items, size_t playlist,
                 const service_ptr_t<titleformat_object>& groupScript);
    // Reads the host's playback queue into the labels.
    void rebuildQueue();
    // Every cell is read again; the texts come from the cache where they can.
    void refresh();

    const ClassicRows& rows() const { return _rows; }
    const metadb_handle_list& items() const { return _items; }
    size_t playlist() const { return _playlist; }
    // Row of the playing track when it is in the shown playlist; -1 otherwise.
    int64_t playingRow() const;
    void setHome(const QString& home) { _home = home; }

    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QString formattedText(size_t item, const Column& column) const;

    metadb_handle_list _items;
    size_t _playlist = SIZE_MAX;
    std::vector<Column> _columns;
    ClassicRows _rows;
    QString _home;
    mutable QCache<QString, QString> _cache{kCacheEntries};
};
