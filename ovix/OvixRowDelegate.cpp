#include "OvixRowDelegate.h"

#include "OvixRowListModel.h"
#include "QovOvixRowView.h"

#include <QPainter>

namespace {

const OvixRowListModel* rowModel(const QModelIndex& index) {
    return qobject_cast<const OvixRowListModel*>(index.model());
}

}  // namespace

void OvixRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const OvixRowListModel* model = rowModel(index);
    const OvixRow* row = model ? model->row(index.row()) : nullptr;
    if (!row) return;
    const OvixRows& rows = model->rows();
    QovOvixRowView view;
    view.header = row->header;
    view.line1 = rows[row->line1].toString();
    view.line2 = rows[row->line2].toString();
    view.right = rows[row->right].toString();
    view.number = row->number;
    view.playing = model->isPlaying(*row);
    view.selected = option.state.testFlag(QStyle::State_Selected);
    view.paint(*painter, option.rect);
}

QSize OvixRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const OvixRowListModel* model = rowModel(index);
    const OvixRow* row = model ? model->row(index.row()) : nullptr;
    const bool header = row && row->header;
    return QSize(option.rect.width(), header ? QovOvixRowView::kHeaderHeight : QovOvixRowView::kTrackHeight);
}
