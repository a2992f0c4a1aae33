#include "QovClassicCellDelegate.h"

#include "ClassicSettings.h"
#include "QovClassicPlaylistModel.h"
#include "QovClassicTableView.h"
#include "SystemColors.h"

#include <QApplication>
#include <QPainter>

QovClassicCellDelegate::QovClassicCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void QovClassicCellDelegate::setFonts(const QFont& regular, const QFont& bold) {
    _regular = regular;
    _bold = bold;
}

void QovClassicCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    if (!index.data(QovClassicPlaylistModel::HeaderRowRole).toBool()) draw(painter, option, index, false);
}

void QovClassicCellDelegate::paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    draw(painter, option, index, true);
}

void QovClassicCellDelegate::draw(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index, bool header) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool playing = !header && index.data(QovClassicPlaylistModel::PlayingRowRole).toBool();
    const bool selected = opt.state & QStyle::State_Selected;

    // Rows are selected whole: a frame around one cell would say otherwise.
    opt.state &= ~QStyle::State_HasFocus;
    // In place of the platform's highlight, which the table has drawn under
    // the cell: the row's own fill, as the table fills the rest of the row.
    if (const std::optional<QColor> fill = QovClassicTableView::selectionFill(); selected && fill) {
        painter->fillRect(opt.rect, opt.palette.color(QPalette::Base));
        painter->fillRect(opt.rect, *fill);
        opt.state &= ~QStyle::State_Selected;
    }
    opt.font = header || playing ? _bold : _regular;
    opt.fontMetrics = QFontMetrics(opt.font);
    opt.textElideMode = Qt::ElideRight;
    opt.features &= ~QStyleOptionViewItem::WrapText;
    const QColor text = header || (playing && !selected)
                            ? accentColor()
                            : platform::SystemColors::color(platform::SystemColor::Label);
    opt.palette.setColor(QPalette::Text, text);

    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
}
