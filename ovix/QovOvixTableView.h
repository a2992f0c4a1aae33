#pragma once

// The Ovix playlist's list: rows drawn by the row delegate, the table's own
// selection look switched off, keys for play and remove, rows dragged within
// the list to reorder and files dropped from outside. What the keys, drags
// and drops mean is its owner's; the list only finds the rows. Main thread.

#include <QListView>
#include <QPointer>

class QovOvixPlaylist;

class QovOvixTableView : public QListView {
    Q_OBJECT

public:
    explicit QovOvixTableView(QWidget* parent = nullptr);

    void setOwner(QovOvixPlaylist* owner);
    QovOvixPlaylist* owner() const;

    // The row a drop at `pos` (viewport coordinates) goes above; the row count
    // below the last row.
    int dropRowAt(QPoint pos) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Validates the drag at its position and marks the gap; false when refused.
    bool proposeDrop(QDropEvent* event);
    void setDropRow(int row);

    QPointer<QovOvixPlaylist> _owner;
    bool _dragging = false;  // a drag of this list's rows is under way
    bool _pressedOnTrack = false;
    int _dropRow = -1;
};
