#pragma once

// Draws the playlist's cells: group headers in the bold font and the accent
// colour across the whole row, the playing track in bold, accent-coloured while it
// is not selected, long texts cut at the end. Row backgrounds are the table's.
// Main thread.

#include <QFont>
#include <QStyledItemDelegate>

class QovClassicCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit QovClassicCellDelegate(QObject* parent = nullptr);

    void setFonts(const QFont& regular, const QFont& bold);

    // Item cells; header rows are left to paintHeader.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // A group header row, across `option.rect`.
    void paintHeader(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

private:
    void draw(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
              bool header) const;

    QFont _regular;
    QFont _bold;
};
