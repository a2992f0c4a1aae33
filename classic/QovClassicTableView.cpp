#include "QovClassicTableView.h"

#include "Beep.h"
#include "ClassicDrag.h"
#include "ClassicSettings.h"
#include "ColumnSpec.h"
#include "KeyPosition.h"
#include "MainMenu.h"
#include "MenuShortcut.h"
#include "QovClassicCellDelegate.h"
#include "QovClassicPlaylist.h"
#include "ResponderChain.h"
#include "StartDrag.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

using platform::EditAction;

// Titles too long for their column end in "…", also right-aligned ones,
// which the style would cut at the front. Without columns the header keeps
// its height: its menu is where columns are added back.
class ColumnHeader : public QHeaderView {
public:
    ColumnHeader() : QHeaderView(Qt::Horizontal) {}

    QSize sizeHint() const override {
        QSize hint = QHeaderView::sizeHint();
        if (count() == 0) {
            QStyleOptionHeader option;
            initStyleOption(&option);
            option.text = QStringLiteral("X");
            hint.setHeight(style()->sizeFromContents(QStyle::CT_HeaderSection, &option, {}, this).height());
        }
        return hint;
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logical) const override {
        QHeaderView::initStyleOptionForIndex(option, logical);
        const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
        option->text =
            option->fontMetrics.elidedText(option->text, Qt::ElideRight, sectionSize(logical) - margins);
    }
};

constexpr double kMonochromeSelectionAlpha = 0.16;
constexpr double kAccentSelectionAlpha = 0.45;
constexpr double kPlayingRowAlpha = 0.22;
constexpr int kDropGapWidth = 2;

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(alpha));
    return color;
}

// Whether the key types something other than a Latin letter: its character
// (Qt names character keys by it) lies beyond ASCII.
bool typesNonLatin(const QKeyEvent& event) {
    const int key = event.key();
    if (key > 0 && key < Qt::Key_Escape) return key >= 0x80;
    return !event.text().isEmpty() && event.text().front().unicode() >= 0x80;
}

// The standard edit keys, for a table that no Edit menu serves.
constexpr std::pair<QKeySequence::StandardKey, EditAction> kEditKeys[] = {
    {QKeySequence::Copy, EditAction::Copy},   {QKeySequence::Cut, EditAction::Cut},
    {QKeySequence::Paste, EditAction::Paste}, {QKeySequence::Undo, EditAction::Undo},
    {QKeySequence::Redo, EditAction::Redo},
};

}  // namespace

QovClassicTableView::QovClassicTableView(QWidget* parent) : QTableView(parent) {
    setHorizontalHeader(new ColumnHeader);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    // The gap between rows is drawn here; Qt's indicator marks items.
    setDropIndicatorShown(false);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);

    QHeaderView* columns = horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setSectionsMovable(true);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(kMinColumnWidth);
    columns->setHighlightSections(false);
    columns->setSortIndicatorShown(true);
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    // Spans start at the column shown first: they follow it when columns move.
    connect(columns, &QHeaderView::sectionMoved, this, [this] { spanHeaders(); });
}

QovClassicPlaylist* QovClassicTableView::owner() const { return _owner; }

void QovClassicTableView::setOwner(QovClassicPlaylist* owner) { _owner = owner; }

void QovClassicTableView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    if (!model) return;
    connect(model, &QAbstractItemModel::columnsInserted, this, [this] { spanHeaders(); });
    connect(model, &QAbstractItemModel::columnsRemoved, this, [this] { spanHeaders(); });
}

void QovClassicTableView::layoutRows(const std::vector<size_t>& headerRows, int height) {
    QHeaderView* rows = verticalHeader();
    const int count = rows->count();
    // Row by row with signals and updates on, a long playlist would be laid
    // out again per header row; the geometry is brought up to date once at the end.
    rows->blockSignals(true);
    rows->setUpdatesEnabled(false);
    if (rows->defaultSectionSize() != height) {
        rows->setDefaultSectionSize(height);
    } else {
        for (size_t r : _headerRows)
            if (r < size_t(count)) rows->resizeSection(int(r), height);
    }
    for (size_t r : headerRows)
        if (r < size_t(count)) rows->resizeSection(int(r), height + kHeaderRowExtra);
    rows->setUpdatesEnabled(true);
    rows->blockSignals(false);
    _headerRows = headerRows;
    spanHeaders();
    updateGeometries();
    viewport()->update();
}

void QovClassicTableView::spanHeaders() {
    clearSpans();
    const int columns = model() ? model()->columnCount() : 0;
    if (columns < 2) return;
    const int first = horizontalHeader()->logicalIndex(0);
    const int rows = model()->rowCount();
    for (size_t r : _headerRows)
        if (r < size_t(rows)) setSpan(int(r), first, 1, columns);
}

// --- Selection ---

std::vector<int64_t> QovClassicTableView::selectedRowList() const {
    std::vector<int64_t> rows;
    if (!selectionModel()) return rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int64_t QovClassicTableView::selectedRow() const {
    if (!selectionModel()) return -1;
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid() && selectionModel()->isSelected(current)) return current.row();
    const std::vector<int64_t> rows = selectedRowList();
    return rows.empty() ? -1 : rows.back();
}

void QovClassicTableView::selectRows(const std::vector<size_t>& rows, size_t lead) {
    if (!selectionModel() || !model()) return;
    const int columns = model()->columnCount();
    QItemSelection selection;
    for (size_t i = 0; i < rows.size() && columns > 0;) {
        size_t end = i;
        while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1) ++end;
        selection.select(model()->index(int(rows[i]), 0), model()->index(int(rows[end]), columns - 1));
        i = end + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (lead >= size_t(model()->rowCount()) || columns == 0) return;
    const int column =
        currentIndex().isValid() ? currentIndex().column() : horizontalHeader()->logicalIndex(0);
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(model()->index(int(lead), column), QItemSelectionModel::NoUpdate);
    setAutoScroll(scrolls);
}

QItemSelectionModel::SelectionFlags QovClassicTableView::selectionCommand(const QModelIndex& index,
                                                                          const QEvent* event) const {
    if (_owner && index.isValid() && _owner->isHeaderRow(index.row()) && event &&
        event->type() == QEvent::MouseButtonPress)
        return QItemSelectionModel::NoUpdate;
    return QTableView::selectionCommand(index, event);
}

QModelIndex QovClassicTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex index = QTableView::moveCursor(action, modifiers);
    if (!_owner || !index.isValid() || !_owner->isHeaderRow(index.row())) return index;
    const int rows = model()->rowCount();
    const int step = action == MoveUp || action == MovePageUp ? -1 : 1;
    // The nearest track row the way the cursor went, else the other way.
    for (int direction : {step, -step}) {
        for (int row = index.row() + direction; row >= 0 && row < rows; row += direction)
            if (!_owner->isHeaderRow(row)) return model()->index(row, index.column());
    }
    return currentIndex();
}

// --- Edit commands ---

bool QovClassicTableView::respondsToEditAction(EditAction action) const {
    // Select All is the table's own.
    return action != EditAction::SelectAll;
}

bool QovClassicTableView::validateEditAction(EditAction action) const {
    return _owner && _owner->canEdit(action);
}

void QovClassicTableView::performEditAction(EditAction action) {
    if (!_owner) return;
    switch (action) {
        case EditAction::Copy:
            _owner->doCopy(false);
            break;
        case EditAction::Cut:
            _owner->doCopy(true);
            break;
        case EditAction::Paste:
            _owner->doPaste();
            break;
        case EditAction::Delete:
            _owner->removeSelection();
            break;
        case EditAction::Undo:
            _owner->doUndo(false);
            break;
        case EditAction::Redo:
            _owner->doUndo(true);
            break;
        case EditAction::SelectAll:
            break;
    }
}

// --- Keys ---

bool QovClassicTableView::performKeyEquivalent(const QKeyEvent& event, bool perform) {
    namespace mods = platform::mods;
    if (!_owner || !hasFocus()) return false;
    const uint flags = platform::macModifierFlags(event.modifiers()) & mods::DeviceIndependentMask;
    const int position = platform::keyPosition(event);
    if (flags == mods::Command && (position == platform::vk::A || position == platform::vk::F)) {
        if (perform && position == platform::vk::A) selectAll();
        if (perform && position == platform::vk::F) _owner->showSearch();
        return true;
    }
    if (!(flags & mods::Command) || !typesNonLatin(event)) return false;
    const std::optional<QChar> letter = latinForKeyCode(position);
    if (!letter) return false;
    QWidget* menu = platform::MainMenu::bar();
    return perform ? performMenuShortcut(menu, *letter, flags)
                   : menuShortcut(menu, *letter, flags) != nullptr;
}

bool QovClassicTableView::event(QEvent* event) {
    // Asked before the menus' shortcuts are matched: a key taken here reaches
    // keyPressEvent instead.
    if (event->type() == QEvent::ShortcutOverride &&
        performKeyEquivalent(*static_cast<QKeyEvent*>(event), false)) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void QovClassicTableView::keyPressEvent(QKeyEvent* event) {
    if (performKeyEquivalent(*event, true)) return;
    if (_owner) {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                _owner->playClicked();
                return;
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
                _owner->removeSelection();
                return;
            default:
                break;
        }
        for (const auto& [key, action] : kEditKeys) {
            if (!event->matches(key)) continue;
            if (!platform::ResponderChain::perform(action, this)) platform::beep();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

// --- Context menu ---

void QovClassicTableView::contextMenuEvent(QContextMenuEvent* event) {
    if (!_owner) return;
    const int row = rowAt(event->pos().y());
    if (row < 0 || _owner->isHeaderRow(row)) return;
    if (!selectionModel()->isRowSelected(row, {})) {
        selectionModel()->setCurrentIndex(model()->index(row, horizontalHeader()->logicalIndex(0)),
                                          QItemSelectionModel::NoUpdate);
        selectRows({size_t(row)});
    }
    const std::unique_ptr<QMenu> menu(_owner->contextMenu(row));
    if (menu) menu->exec(event->globalPos());
}

// --- Drawing ---

std::optional<QColor> QovClassicTableView::selectionFill() {
    if (cfg_theme.get() == kThemeMonochrome) return withAlpha(Qt::white, kMonochromeSelectionAlpha);
    if (const std::optional<QColor> accent = customAccent()) return withAlpha(*accent, kAccentSelectionAlpha);
    return std::nullopt;
}

void QovClassicTableView::paintRowBackgrounds(QPainter& painter, const QRect& clip) {
    if (!_owner || !model() || model()->rowCount() == 0) return;
    const std::optional<QColor> fill = selectionFill();
    const int64_t playing = _owner->playingRow();
    const int first = std::max(rowAt(clip.top()), 0);
    int last = rowAt(clip.bottom());
    if (last < 0) last = model()->rowCount() - 1;
    for (int row = first; row <= last; ++row) {
        const bool selected = selectionModel()->isRowSelected(row, {});
        const QRect rect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
        if (selected && fill)
            painter.fillRect(rect, *fill);
        else if (row == playing && !selected)
            painter.fillRect(rect, withAlpha(accentColor(), kPlayingRowAlpha));
    }
}

void QovClassicTableView::paintHeaderRows(QPainter& painter, const QRect& clip) {
    const auto* cells = qobject_cast<const QovClassicCellDelegate*>(itemDelegate());
    if (!cells || !model() || model()->columnCount() == 0 || _headerRows.empty()) return;
    const int rows = model()->rowCount();
    const int top = rowAt(clip.top());
    if (top < 0) return;  // below the last row
    const int bottom = rowAt(clip.bottom()) < 0 ? rows - 1 : rowAt(clip.bottom());
    const int first = horizontalHeader()->logicalIndex(0);
    const int x = columnViewportPosition(first);
    const int width = std::max(horizontalHeader()->length(), viewport()->width() - x);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (auto r = std::lower_bound(_headerRows.begin(), _headerRows.end(), size_t(top));
         r != _headerRows.end() && *r <= size_t(bottom) && *r < size_t(rows); ++r) {
        option.rect = QRect(x, rowViewportPosition(int(*r)), width, rowHeight(int(*r)));
        cells->paintHeader(&painter, option, model()->index(int(*r), first));
    }
}

void QovClassicTableView::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        paintRowBackgrounds(painter, event->rect());
    }
    QTableView::paintEvent(event);
    {
        QPainter painter(viewport());
        paintHeaderRows(painter, event->rect());
    }
    if (_dropRow < 0 || !model()) return;
    const int rows = model()->rowCount();
    int y = 0;
    if (rows > 0)
        y = _dropRow < rows ? rowViewportPosition(int(_dropRow))
                            : rowViewportPosition(rows - 1) + rowHeight(rows - 1);
    QPainter painter(viewport());
    painter.fillRect(QRect(0, std::max(y - kDropGapWidth / 2, 0), viewport()->width(), kDropGapWidth),
                     accentColor());
}

// --- Drag and drop ---

void QovClassicTableView::startDrag(Qt::DropActions) {
    if (!_owner) return;
    const std::vector<int64_t> rows = selectedRowList();
    QMimeData* data = _owner->dragData(rows);
    if (!data) return;
    _owner->dragWillBegin(rows);
    // Copy is all other programs are offered, so that a file manager never
    // moves the tracks' files; a drop here tells a move from g_drag.
    platform::startDrag(this, data, Qt::CopyAction);
    g_drag.reset();
}

int64_t QovClassicTableView::dropRow(QPointF pos) const {
    const int rows = model() ? model()->rowCount() : 0;
    const int row = rowAt(int(pos.y()));
    if (row < 0) return rows;
    // Most of a row's height drops before it; its bottom quarter after it.
    const double top = rowViewportPosition(row), height = rowHeight(row);
    return pos.y() >= top + height * 3 / 4 ? row + 1 : row;
}

void QovClassicTableView::setDropRow(int64_t row) {
    if (row == _dropRow) return;
    _dropRow = row;
    viewport()->update();
}

void QovClassicTableView::proposeDrop(QDropEvent* event) {
    const int64_t row = dropRow(event->position());
    const Qt::DropAction action = _owner ? _owner->validateDrop(*event->mimeData(), row) : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction) {
        setDropRow(-1);
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    setDropRow(row);
}

void QovClassicTableView::dragEnterEvent(QDragEnterEvent* event) {
    proposeDrop(event);
    if (event->isAccepted()) setState(DraggingState);
}

void QovClassicTableView::dragMoveEvent(QDragMoveEvent* event) {
    // Scrolls near the edges; what it says of the drop is Qt's, decided again here.
    QTableView::dragMoveEvent(event);
    proposeDrop(event);
}

void QovClassicTableView::dragLeaveEvent(QDragLeaveEvent* event) {
    setDropRow(-1);
    QTableView::dragLeaveEvent(event);
}

void QovClassicTableView::dropEvent(QDropEvent* event) {
    setDropRow(-1);
    stopAutoScroll();
    setState(NoState);
    const int64_t row = dropRow(event->position());
    const Qt::DropAction action = _owner ? _owner->validateDrop(*event->mimeData(), row) : Qt::IgnoreAction;
    if (action != Qt::IgnoreAction && _owner->acceptDrop(*event->mimeData(), row)) {
        event->setDropAction(action);
        event->accept();
    } else {
        event->ignore();
    }
}
