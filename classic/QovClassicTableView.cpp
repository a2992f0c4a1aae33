#include "QovClassicTableView.h"

#include "ColumnSpec.h"
#include "QovClassicPlaylist.h"

#include <QHeaderView>

QovClassicTableView::QovClassicTableView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);

    QHeaderView* columns = horizontalHeader();
    columns->setSectionsMovable(true);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(kMinColumnWidth);
    columns->setHighlightSections(false);
    columns->setTextElideMode(Qt::ElideRight);
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
