#pragma once

// The playlist's table: rows as the playlist controller lays them out, group
// header rows taller and across every column whatever the column order. Keys,
// menus, edit commands, drags and drops go to its owner; it paints the row
// backgrounds of the selection and the playing track. Main thread.

#include "EditResponder.h"

#include <QColor>
#include <QPointer>
#include <QTableView>

#include <cstdint>
#include <optional>
#include <vector>

class QovClassicPlaylist;

class QovClassicTableView : public QTableView, public platform::EditResponder {
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

    // The selected row chosen last (the current row when it is selected);
    // -1 when none is.
    int64_t selectedRow() const;
    // The selected rows, ascending.
    std::vector<int64_t> selectedRowList() const;
    // Makes exactly these rows (ascending) the selection; the keys then go on
    // from `lead` when it is a row. The view does not scroll for it.
    void selectRows(const std::vector<size_t>& rows, size_t lead = SIZE_MAX);
    // The gap a drop at `pos` (in the viewport) goes into: the row it goes
    // before, the row count below the last row.
    int64_t dropRow(QPointF pos) const;
    // What fills selected rows in place of the platform's highlight: white in
    // the monochrome theme, else a custom accent; none for the platform's own.
    static std::optional<QColor> selectionFill();

    bool respondsToEditAction(platform::EditAction action) const override;
    bool validateEditAction(platform::EditAction action) const override;
    void performEditAction(platform::EditAction action) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Header rows take no selection: a click on one leaves the selection as
    // it is, and the keys step over them to the nearest track row.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void spanHeaders();
    // Command-key equivalents the table takes before the menus: Command-A and
    // Command-F by key position, and menu shortcuts typed on a layout without
    // Latin letters. Whether the key is one; done only when `perform`.
    bool performKeyEquivalent(const QKeyEvent& event, bool perform);
    void paintRowBackgrounds(QPainter& painter, const QRect& clip);
    // Group headers run the whole width of the row, past the last column.
    void paintHeaderRows(QPainter& painter, const QRect& clip);
    // Accepts the drag at its position when the owner takes it there.
    void proposeDrop(QDropEvent* event);
    void setDropRow(int64_t row);

    QPointer<QovClassicPlaylist> _owner;
    std::vector<size_t> _headerRows;
    int64_t _dropRow = -1;  // the gap shown during a drag over the table
};
