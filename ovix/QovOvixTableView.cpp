#include "QovOvixTableView.h"

#include "OvixRowDelegate.h"
#include "OvixRowListModel.h"
#include "OvixStyle.h"
#include "QovOvixPlaylist.h"
#include "StartDrag.h"
#include "SystemColors.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

QovOvixTableView::QovOvixTableView(QWidget* parent) : QListView(parent) {
    setFrameShape(QFrame::NoFrame);
    setUniformItemSizes(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSpacing(0);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new OvixRowDelegate(this));
    viewport()->setAutoFillBackground(false);
}

void QovOvixTableView::setOwner(QovOvixPlaylist* owner) { _owner = owner; }

QovOvixPlaylist* QovOvixTableView::owner() const { return _owner; }

void QovOvixTableView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
            if (_owner) _owner->playClicked(-1);
            return;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            if (_owner) _owner->removeSelection();
            return;
        default:
            QListView::keyPressEvent(event);
    }
}

void QovOvixTableView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    _pressedOnTrack = index.isValid() && (index.flags() & Qt::ItemIsDragEnabled);
    QListView::mousePressEvent(event);
}

void QovOvixTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !_owner) return;
    // Below the last row the selected track plays, as Return would.
    const QModelIndex index = indexAt(event->position().toPoint());
    _owner->playClicked(index.isValid() ? index.row() : -1);
}

QModelIndex QovOvixTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QListView::moveCursor(action, modifiers);
    if (!next.isValid() || (next.flags() & Qt::ItemIsSelectable)) return next;
    // The keys pass over group headers to the track beyond, as they cannot be
    // selected; from the top, back to the first track.
    const bool up = action == MoveUp || action == MovePageUp || action == MovePrevious;
    const int count = model()->rowCount();
    for (const int step : {up ? -1 : 1, up ? 1 : -1})
        for (int row = next.row() + step; row >= 0 && row < count; row += step)
            if (const QModelIndex at = model()->index(row, 0); at.flags() & Qt::ItemIsSelectable) return at;
    return currentIndex();
}

QItemSelectionModel::SelectionFlags QovOvixTableView::selectionCommand(const QModelIndex& index,
                                                                       const QEvent* event) const {
    // A click on a group header leaves the selection as it is.
    if (index.isValid() && !(index.flags() & Qt::ItemIsSelectable)) return QItemSelectionModel::NoUpdate;
    return QListView::selectionCommand(index, event);
}

void QovOvixTableView::startDrag(Qt::DropActions) {
    // A drag begun on a group header carries nothing, not even the selection.
    QMimeData* data = _owner && _pressedOnTrack ? _owner->dragData() : nullptr;
    if (!data) return;
    // The rows only move within this list; the drop knows them by this mark.
    _dragging = true;
    const QPointer<QovOvixTableView> self(this);
    platform::startDrag(this, data, Qt::MoveAction);
    if (!self) return;  // closed while the drag went on
    _dragging = false;
    setDropRow(-1);
}

int QovOvixTableView::dropRowAt(QPoint pos) const {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid()) return model() ? model()->rowCount() : 0;
    const QRect r = visualRect(index);
    return pos.y() < r.center().y() ? index.row() : index.row() + 1;
}

bool QovOvixTableView::proposeDrop(QDropEvent* event) {
    const Qt::DropAction action =
        _owner ? _owner->validateDrop(event->mimeData(), _dragging) : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction) {
        setDropRow(-1);
        event->ignore();
        return false;
    }
    setDropRow(dropRowAt(event->position().toPoint()));
    event->setDropAction(action);
    event->accept();
    return true;
}

void QovOvixTableView::dragEnterEvent(QDragEnterEvent* event) { proposeDrop(event); }

void QovOvixTableView::dragMoveEvent(QDragMoveEvent* event) {
    if (!proposeDrop(event)) return;
    const QPoint pos = event->position().toPoint();
    const int margin = autoScrollMargin();
    if (hasAutoScroll() && (pos.y() < margin || pos.y() > viewport()->height() - margin)) startAutoScroll();
}

void QovOvixTableView::dragLeaveEvent(QDragLeaveEvent*) {
    stopAutoScroll();
    setDropRow(-1);
}

void QovOvixTableView::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    const int row = dropRowAt(event->position().toPoint());
    const bool fromHere = _dragging;
    setDropRow(-1);
    if (_owner && _owner->acceptDrop(event->mimeData(), row, fromHere)) {
        event->setDropAction(fromHere ? Qt::MoveAction : Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void QovOvixTableView::setDropRow(int row) {
    if (row == _dropRow) return;
    _dropRow = row;
    viewport()->update();
}

void QovOvixTableView::paintEvent(QPaintEvent* event) {
    {
        QPainter p(viewport());
        p.fillRect(event->rect(), platform::SystemColors::color(platform::SystemColor::ControlBackground));
    }
    QListView::paintEvent(event);
    if (_dropRow < 0 || !model()) return;
    // The gap the rows will land in.
    const int count = model()->rowCount();
    int y = 0;
    if (_dropRow < count)
        y = visualRect(model()->index(_dropRow, 0)).top();
    else if (count > 0)
        y = visualRect(model()->index(count - 1, 0)).bottom() + 1;
    QPainter p(viewport());
    p.fillRect(QRect(0, y - 1, viewport()->width(), 2), ovixAccent());
}
