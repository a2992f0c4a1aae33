#pragma once

// The Ovix playlist's rows as a Qt list model: the delegate draws them, the
// view's accessibility reads them (name, description, selectable or not).
// Header rows can be neither selected nor dragged. Replaced whole on every
// rebuild. Main thread.

#include "OvixRows.h"

#include <QAbstractListModel>

#include <functional>

class OvixRowListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // Whether the track of a row is the one playing now.
    using PlayingTest = std::function<bool(const OvixRow&)>;

    explicit OvixRowListModel(PlayingTest playing, QObject* parent = nullptr);

    const OvixRows& rows() const { return _rows; }
    // Replaces the rows by what `build` makes; it is handed the old ones to
    // take their memory over.
    template <class Build>
    void rebuild(Build&& build) {
        beginResetModel();
        _rows = build(std::move(_rows));
        endResetModel();
    }
    // Null past the end.
    const OvixRow* row(int index) const;
    bool isPlaying(const OvixRow& row) const { return !row.header && _playing(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    OvixRows _rows;
    PlayingTest _playing;
};
