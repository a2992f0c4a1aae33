#pragma once

// The playlist's table: rows as the playlist controller lays them out, group
// header rows taller and across every column whatever the column order. Keys,
// menus and edit actions go to its owner. Main thread.

#include <QPointer>
#include <QTableView>

#include <vector>

class QovClassicPlaylist;

class QovClassicTableView : public QTableView {
    Q_OBJECT

public:
    static constexpr int kHeaderRowExtra = 6;

    explicit QovClassicTableView(QWidget* parent = nullptr);

    QovClassicPlaylist* owner() const;
    void setOwner(QovClassicPlaylist* owner);

    // Item rows `height` tall, the rows in `headerRows` (ascending) taller and
    // spanning all columns.
    void layoutRows(const std::vector<size_t>& headerRows, int height);

    void setModel(QAbstractItemModel* model) override;

private:
    void spanHeaders();

    QPointer<QovClassicPlaylist> _owner;
    std::vector<size_t> _headerRows;
};
