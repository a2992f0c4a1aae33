#include "QovOvixTabsView.h"

#include "OvixStyle.h"
#include "OvixTabsAccessible.h"
#include "playlist_manager.h"
#include "std_api.h"
#include "SystemColors.h"
#include "TextPrompt.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>

namespace {

using platform::SystemColor;
using platform::SystemColors;

QFont titleFont(bool active) { return ovixFont(12, active ? QFont::DemiBold : QFont::Normal); }

}  // namespace

QovOvixTabsView::QovOvixTabsView(QWidget* parent) : QWidget(parent) {
    OvixTabsAccessible::install();
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(400, kHeight);
    setFixedHeight(kHeight);
    _geometry.resize(width(), height());
}

void QovOvixTabsView::setNames(const QStringList& names) {
    _names = names;
    layoutTabs();
    update();
    QAccessibleEvent changed(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&changed);
}

void QovOvixTabsView::setActive(int index) {
    _active = index < 0 ? -1 : index;
    layoutTabs();
    _geometry.reveal(_active);
    update();
    QAccessibleEvent changed(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&changed);
}

void QovOvixTabsView::setScrollTo(double x) {
    _geometry.scrollTo(x);
    update();
}

QRectF QovOvixTabsView::tabRect(int index) const {
    if (index < 0 || size_t(index) >= _geometry.rects().size()) return {};
    return _geometry.rects()[size_t(index)].translated(-_geometry.scroll(), 0);
}

void QovOvixTabsView::layoutTabs() {
    // Measured as the active tab is drawn, so activating one never moves the others.
    const QFontMetricsF metrics(titleFont(true));
    std::vector<double> widths;
    widths.reserve(size_t(_names.size()));
    for (const QString& name : _names) widths.push_back(metrics.horizontalAdvance(name));
    _geometry.layout(widths);
}

void QovOvixTabsView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    _geometry.resize(width(), height());
}

void QovOvixTabsView::wheelEvent(QWheelEvent* event) {
    const bool precise = !event->pixelDelta().isNull();
    // Line-based wheels report eighths of a degree, 120 a line.
    const QPointF delta = precise ? QPointF(event->pixelDelta()) : QPointF(event->angleDelta()) / 120.0;
    _geometry.wheel(delta.x(), delta.y(), precise);
    update();
    event->accept();
}

void QovOvixTabsView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), SystemColors::color(SystemColor::WindowBackground));
    p.fillRect(QRectF(0, height() - 1, width(), 1), SystemColors::color(SystemColor::Separator));

    const double visible = _geometry.visibleWidth();
    p.save();
    p.setClipRect(QRectF(0, 0, visible, height()));
    p.translate(-_geometry.scroll(), 0);
    const auto& rects = _geometry.rects();
    for (size_t i = 0; i < size_t(_names.size()) && i < rects.size(); ++i) {
        const bool active = int(i) == _active;
        const QFont font = titleFont(active);
        const QFontMetricsF metrics(font);
        const QRectF& r = rects[i];
        const double h = metrics.height();
        const QRectF title(r.x() + 8, r.y() + r.height() / 2 - h / 2 - 1, r.width() - 16, h);
        p.setFont(font);
        p.setPen(SystemColors::color(active ? SystemColor::Label : SystemColor::SecondaryLabel));
        p.drawText(title, Qt::AlignCenter | Qt::TextSingleLine,
                   metrics.elidedText(_names[qsizetype(i)], Qt::ElideRight, title.width()));
        if (active) p.fillRect(QRectF(r.x() + 4, height() - 3, r.width() - 8, 3), ovixAccent());
    }
    p.restore();

    if (!_geometry.overflows()) return;
    const QFont arrows = ovixFont(9);
    const QFontMetricsF metrics(arrows);
    p.setFont(arrows);
    p.setPen(SystemColors::color(SystemColor::SecondaryLabel));
    const QString glyphs[] = {QStringLiteral("\u25C0"), QStringLiteral("\u25B6")};
    for (int c = 0; c < 2; ++c) {
        const QSizeF size(metrics.horizontalAdvance(glyphs[c]), metrics.height());
        const QPointF at(
            visible + OvixTabGeometry::kArrowCell * c + OvixTabGeometry::kArrowCell / 2 - size.width() / 2,
            height() / 2.0 - size.height() / 2);
        p.drawText(QRectF(at, size), Qt::AlignCenter, glyphs[c]);
    }
}

void QovOvixTabsView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF pos = event->position();
    if (_geometry.inArrows(pos)) {
        clickArrow(pos.x() < _geometry.visibleWidth() + OvixTabGeometry::kArrowCell ? 0 : 1);
        return;
    }
    const int i = _geometry.tabAt(pos);
    if (i >= 0) clickTab(i);
}

void QovOvixTabsView::clickTab(int index) {
    if (index < 0 || index >= _names.size()) return;
    qvn::std_api_get<playlist_manager>()->set_active_playlist(size_t(index));
    setActive(index);
}

void QovOvixTabsView::clickArrow(int cell) {
    if (!_geometry.overflows()) return;
    _geometry.arrowClick(QPointF(_geometry.visibleWidth() + OvixTabGeometry::kArrowCell * (cell + 0.5), 0));
    update();
}

void QovOvixTabsView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF pos = event->position();
    if (_geometry.inArrows(pos)) {
        // The second click on an arrow pages once more.
        mousePressEvent(event);
        return;
    }
    const int i = _geometry.tabAt(pos);
    if (i < 0) {
        newPlaylist();
        return;
    }
    _menuIndex = i;
    renamePlaylist();
}

QMenu* QovOvixTabsView::menuFor(QPointF p) {
    _menuIndex = _geometry.tabAt(p);
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("New Playlist"), this, &QovOvixTabsView::newPlaylist);
    if (_menuIndex >= 0) {
        menu->addAction(QStringLiteral("Rename\u2026"), this, &QovOvixTabsView::renamePlaylist);
        menu->addAction(QStringLiteral("Remove"), this, &QovOvixTabsView::removePlaylist);
    }
    return menu;
}

void QovOvixTabsView::contextMenuEvent(QContextMenuEvent* event) {
    menuFor(event->pos())->popup(event->globalPos());
    event->accept();
}

void QovOvixTabsView::newPlaylist() {
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t made = pm->create_playlist("New Playlist", SIZE_MAX, SIZE_MAX);
    if (made != SIZE_MAX) pm->set_active_playlist(made);
}

void QovOvixTabsView::removePlaylist() {
    if (_menuIndex < 0) return;
    qvn::std_api_get<playlist_manager>()->remove_playlist_switch(size_t(_menuIndex));
}

void QovOvixTabsView::renamePlaylist() {
    if (_menuIndex < 0 || _menuIndex >= _names.size()) return;
    const size_t playlist = size_t(_menuIndex);
    platform::TextPrompt::ask(
        this, QStringLiteral("Rename playlist"), _names[_menuIndex], [playlist](const QString& text) {
            const QByteArray name = text.toUtf8();
            qvn::std_api_get<playlist_manager>()->playlist_rename(playlist, name.constData(), SIZE_MAX);
        });
}
