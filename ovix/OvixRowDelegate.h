#pragma once

// Draws each row of the Ovix playlist through a QovOvixRowView filled from
// the model: 30 high for a header, 38 for a track. Main thread.

#include <QStyledItemDelegate>

class OvixRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
