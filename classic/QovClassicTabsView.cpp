#include "QovClassicTabsView.h"

#include "ClassicDrag.h"
#include "ClassicLock.h"
#include "ClassicSettings.h"
#include "ClosedTracker.h"
#include "DisplayText.h"
#include "DroppedFiles.h"
#include "playlist_incoming_item_filter.h"
#include "playlist_manager.h"
#include "std_api.h"
#include "SymbolImage.h"
#include "SystemColors.h"
#include "SystemFont.h"
#include "TextPrompt.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstring>

namespace {

using platform::SystemColor;
using Strip = TabStripLayout;

const char* const kNewPlaylist = "New Playlist";

QColor systemColor(SystemColor which) { return platform::SystemColors::color(which); }

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(alpha));
    return color;
}

auto manager() { return qvn::std_api_get<playlist_manager>(); }

QFont tabFont(bool active) {
    return platform::SystemFont::ofSize(platform::SystemFont::kSmallSize,
                                        active ? QFont::Medium : QFont::Normal);
}

QColor tabTextColor(bool active) {
    return systemColor(active ? SystemColor::Label : SystemColor::SecondaryLabel);
}

bool closeButtonsShown() { return cfg_tabClose.get() != 0; }

}  // namespace

QovClassicTabsView::QovClassicTabsView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAcceptDrops(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    _hoverTimer.setSingleShot(true);
    _hoverTimer.setInterval(kSpringLoadMs);
    connect(&_hoverTimer, &QTimer::timeout, this, &QovClassicTabsView::springLoad);
    _strip.setSize(width(), height());
    layoutTabs();
}

// --- What the controller pushes in ---

void QovClassicTabsView::setNames(const QStringList& names) {
    _names = names;
    if (_hover >= int(_names.size())) _hover = -1;
    measure();
    update();
}

void QovClassicTabsView::setLocked(const std::vector<bool>& locked) {
    _locked = locked;
    layoutTabs();
    update();
}

void QovClassicTabsView::setActive(int index) {
    _active = index;
    revealActive();
    update();
}

bool QovClassicTabsView::isLocked(int index) const {
    return index >= 0 && size_t(index) < _locked.size() && _locked[size_t(index)];
}

void QovClassicTabsView::settingsChanged() {
    measure();
    update();
}

void QovClassicTabsView::setScrollTo(double x) {
    _strip.scrollTo(x);
    update();
}

// --- Layout ---

void QovClassicTabsView::measure() {
    _titles.clear();
    _widths.clear();
    const QFontMetricsF metrics(tabFont(false));
    for (const QString& name : _names) {
        _titles.append(tabTitle(name));
        _widths.push_back(metrics.horizontalAdvance(_titles.back()));
    }
    layoutTabs();
}

void QovClassicTabsView::layoutTabs() {
    std::vector<Strip::Tab> tabs;
    tabs.reserve(_widths.size());
    for (size_t i = 0; i < _widths.size(); ++i) tabs.push_back({_widths[i], isLocked(int(i))});
    // The active title is set in a heavier weight.
    if (_active >= 0 && size_t(_active) < tabs.size())
        tabs[size_t(_active)].textWidth = QFontMetricsF(tabFont(true)).horizontalAdvance(_titles[_active]);
    _strip.setTabs(std::move(tabs), closeButtonsShown());
}

void QovClassicTabsView::revealActive() {
    layoutTabs();
    _strip.reveal(_active);
}

void QovClassicTabsView::resizeEvent(QResizeEvent*) { _strip.setSize(width(), height()); }

// --- Drawing ---

void QovClassicTabsView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width(), h = height();
    p.fillRect(rect(), systemColor(SystemColor::WindowBackground));
    p.fillRect(QRectF(0, h - 1, w, 1), systemColor(SystemColor::Separator));

    p.save();
    p.setClipRect(QRectF(0, 0, _strip.visibleWidth(), h));
    p.translate(-_strip.scroll(), 0);
    const bool closeButtons = _strip.closeButtons();
    const double left = _strip.scroll(), right = left + _strip.visibleWidth();
    for (int i = 0; i < int(_strip.count()); ++i) {
        const QRectF r = _strip.rectOf(i);
        if (r.right() < left || r.left() > right) continue;
        const bool active = i == _active;
        QPainterPath path;
        path.addRoundedRect(r, 3, 3);
        p.fillPath(path, active ? systemColor(SystemColor::ControlBackground)
                                : withAlpha(systemColor(SystemColor::QuaternaryLabel), 0.15));
        p.strokePath(path, QPen(systemColor(SystemColor::Separator), 1));
        if (i == _dropIndex) p.fillPath(path, withAlpha(accentColor(), 0.35));
        // The active tab joins the content below it.
        if (active)
            p.fillRect(QRectF(r.x() + 1, h - 2, r.width() - 2, 2),
                       systemColor(SystemColor::ControlBackground));

        const QColor textColor = tabTextColor(active);
        if (isLocked(i)) {
            const QRectF lock = _strip.lockRectOf(i);
            p.drawImage(lock, platform::symbolImage(QStringLiteral("lock.fill"), lock.height(), textColor,
                                                    devicePixelRatioF()));
        }
        const QFont font = tabFont(active);
        const QFontMetricsF metrics(font);
        const double textWidth = std::max(0.0, _strip.textWidth(i));
        const QString shown = metrics.elidedText(_titles.value(i), Qt::ElideRight, textWidth);
        p.setFont(font);
        p.setPen(textColor);
        p.drawText(
            QRectF(_strip.textX(i), r.center().y() - metrics.height() / 2, textWidth, metrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);

        if (closeButtons && i == _hover && !isLocked(i) && _moveTo < 0) {
            p.setFont(platform::SystemFont::ofSize(11, QFont::Medium));
            p.setPen(systemColor(SystemColor::SecondaryLabel));
            p.drawText(_strip.closeRectOf(i), Qt::AlignCenter, QStringLiteral("\u00D7"));
        }
    }
    if (_moveTo >= 0 && _strip.count() > 0) {
        const double mx = size_t(_moveTo) < _strip.count()
                              ? _strip.rectOf(_moveTo).x() - 1
                              : _strip.rectOf(int(_strip.count()) - 1).right() + 1;
        p.fillRect(QRectF(mx - 1, 2, 3, h - 3), accentColor());
    }
    p.restore();

    if (_strip.overflows()) {
        p.setFont(platform::SystemFont::ofSize(9));
        p.setPen(systemColor(SystemColor::SecondaryLabel));
        const double cy = (h - 4) / 2 + 3;
        for (int k = 0; k < 2; ++k) {
            const double cx = _strip.visibleWidth() + Strip::kArrowWidth * k + Strip::kArrowWidth / 2;
            p.drawText(QRectF(cx - Strip::kArrowWidth / 2, cy - h / 2, Strip::kArrowWidth, h),
                       Qt::AlignCenter, k == 0 ? QStringLiteral("\u25C0") : QStringLiteral("\u25B6"));
        }
    }
}

// --- Mouse ---

void QovClassicTabsView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouseDown(event->position(), false);
}

void QovClassicTabsView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouseDown(event->position(), true);
}

void QovClassicTabsView::mouseDown(QPointF p, bool doubleClick) {
    switch (_strip.arrowAt(p)) {
        case Strip::Arrow::Left:
            _strip.pageLeft();
            update();
            return;
        case Strip::Arrow::Right:
            _strip.pageRight();
            update();
            return;
        case Strip::Arrow::None:
            break;
    }
    const int i = _strip.tabAt(p);
    const QPointF content(p.x() + _strip.scroll(), p.y());
    if (i >= 0 && _strip.closeButtons() && !isLocked(i) && _strip.closeRectOf(i).contains(content)) {
        manager()->remove_playlist_switch(size_t(i));
        setHover(-1);
        return;
    }
    if (doubleClick) {
        if (i >= 0) {
            _menuIndex = i;
            renamePlaylist();
        } else {
            newPlaylist();
        }
        return;
    }
    if (i < 0) return;
    manager()->set_active_playlist(size_t(i));
    setActive(i);
    _move.emplace(i, p.x());
    _moveTo = -1;
}

void QovClassicTabsView::mouseMoveEvent(QMouseEvent* event) {
    if (_move && (event->buttons() & Qt::LeftButton)) {
        if (_move->dragTo(event->position().x(), _strip)) {
            _moveTo = _move->target();
            update();
        }
        return;
    }
    setHover(_strip.tabAt(event->position()));
}

void QovClassicTabsView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !_move) return;
    const TabMove move = *_move;
    _move.reset();
    _moveTo = -1;
    update();
    if (!move.moved()) return;
    auto pm = manager();
    const auto order = Strip::reorder(move.from(), move.target(), pm->get_playlist_count());
    if (order) pm->reorder_playlists(order->data(), order->size());
}

void QovClassicTabsView::leaveEvent(QEvent*) { setHover(-1); }

void QovClassicTabsView::setHover(int index) {
    if (index == _hover) return;
    _hover = index;
    update();
}

void QovClassicTabsView::wheelEvent(QWheelEvent* event) {
    const QPoint pixels = event->pixelDelta();
    if (!pixels.isNull())
        _strip.wheel(pixels.x(), pixels.y(), true);
    else
        _strip.wheel(event->angleDelta().x() / 120.0, event->angleDelta().y() / 120.0, false);
    update();
}

// --- Menu and dialogs ---

void QovClassicTabsView::newPlaylist() {
    auto pm = manager();
    const size_t made = pm->create_playlist(kNewPlaylist, SIZE_MAX, SIZE_MAX);
    if (made != SIZE_MAX) pm->set_active_playlist(made);
}

std::unique_ptr<QMenu> QovClassicTabsView::menuAt(QPointF p) {
    if (p.x() >= _strip.visibleWidth()) return nullptr;
    _menuIndex = _strip.tabAt(p);
    const int tab = _menuIndex;
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QString::fromLatin1(kNewPlaylist), this, &QovClassicTabsView::newPlaylist);
    if (tab >= 0) {
        menu->addAction(QStringLiteral("Rename\u2026"), this, &QovClassicTabsView::renamePlaylist);
        QAction* remove = menu->addAction(QStringLiteral("Remove"));
        if (isLocked(tab))
            remove->setEnabled(false);
        else
            connect(remove, &QAction::triggered, this,
                    [tab] { manager()->remove_playlist_switch(size_t(tab)); });
        menu->addSeparator();
        const bool locked = isLocked(tab);
        menu->addAction(locked ? QStringLiteral("Unlock Playlist") : QStringLiteral("Lock Playlist"), this,
                        [tab, locked] { toggleLock(size_t(tab), locked); });
    }
    menu->addSeparator();
    QMenu* closed = menu->addMenu(QStringLiteral("Recently Closed"));
    const auto& entries = g_closed.entries();
    for (size_t k = entries.size(); k-- > 0;) {
        const ClosedPlaylist& e = entries[k];
        QAction* item =
            closed->addAction(menuItemText(QString::asprintf("%s  (%zu)", e.name.c_str(), e.items.size())),
                              this, [k] { restoreClosed(k); });
        item->setData(qulonglong(k));
    }
    closed->menuAction()->setEnabled(!entries.empty());
    return menu;
}

void QovClassicTabsView::contextMenuEvent(QContextMenuEvent* event) {
    if (const std::unique_ptr<QMenu> menu = menuAt(event->pos())) menu->exec(event->globalPos());
}

void QovClassicTabsView::renamePlaylist() {
    if (_menuIndex < 0 || _menuIndex >= int(_names.size())) return;
    const size_t playlist = size_t(_menuIndex);
    platform::TextPrompt::ask(
        this, QStringLiteral("Rename playlist"), _names[_menuIndex], [playlist](const QString& text) {
            const QByteArray name = text.toUtf8();
            manager()->playlist_rename(playlist, name.constData(), std::strlen(name.constData()));
        });
}

// --- Drops ---

bool QovClassicTabsView::isPlaylistDrag(const QMimeData& data) {
    return data.hasFormat(QLatin1String(kViewInstanceType)) || data.hasFormat(QLatin1String(kRowsType));
}

void QovClassicTabsView::dragEnterEvent(QDragEnterEvent* event) {
    _dragItems.clear();
    if (isPlaylistDrag(*event->mimeData())) {
        if (g_drag.active) {
            _dragItems = g_drag.handles;
        } else {
            // A drag from one of the player's own playlist views: its selection.
            auto pm = manager();
            const size_t active = pm->get_active_playlist();
            if (active != SIZE_MAX) pm->playlist_get_selected_items(active, _dragItems);
        }
    }
    answerDrag(event);
}

void QovClassicTabsView::dragMoveEvent(QDragMoveEvent* event) { answerDrag(event); }

void QovClassicTabsView::answerDrag(QDragMoveEvent* event) {
    const QMimeData& data = *event->mimeData();
    const bool acceptable = (isPlaylistDrag(data) && !_dragItems.empty()) || data.hasUrls();
    if (!acceptable) {
        setDropIndex(kNoDrop);
        event->ignore();
        return;
    }
    setDropIndex(_strip.tabAt(event->position()));
    const Qt::DropActions allowed = event->possibleActions();
    if (allowed & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    else if (allowed & Qt::MoveAction)
        event->setDropAction(Qt::MoveAction);
    event->accept();
}

void QovClassicTabsView::dragLeaveEvent(QDragLeaveEvent*) { setDropIndex(kNoDrop); }

void QovClassicTabsView::dropEvent(QDropEvent* event) {
    const int target = Strip::dropTarget(_strip.tabAt(event->position()), manager()->get_playlist_count());
    setDropIndex(kNoDrop);
    const QMimeData& data = *event->mimeData();
    if (isPlaylistDrag(data)) {
        if (_dragItems.empty()) return event->ignore();
        addToPlaylist(target, _dragItems);
        _dragItems.clear();
        return event->acceptProposedAction();
    }
    const std::vector<std::string> paths = platform::droppedFiles(data);
    if (paths.empty()) return event->ignore();
    qvn::std_api_get<playlist_incoming_item_filter_v2>()->process_locations_async(
        paths,
        playlist_incoming_item_filter_v2::op_flag_background |
            playlist_incoming_item_filter_v2::op_flag_delay_ui,
        nullptr, nullptr, nullptr,
        process_locations_notify::create(
            [target](const metadb_handle_list& tracks) { addToPlaylist(target, tracks); }));
    event->acceptProposedAction();
}

void QovClassicTabsView::addToPlaylist(int target, const metadb_handle_list& tracks) {
    auto pm = manager();
    size_t playlist = size_t(target);
    if (target < 0 || playlist >= pm->get_playlist_count()) {
        playlist = pm->create_playlist(kNewPlaylist, SIZE_MAX, SIZE_MAX);
        if (playlist == SIZE_MAX) return;
        pm->set_active_playlist(playlist);
    }
    pm->playlist_add_items(playlist, tracks, bit_array_false());
}

void QovClassicTabsView::setDropIndex(int index) {
    if (index == _dropIndex) return;
    _dropIndex = index;
    _hoverTimer.stop();
    if (index >= 0 && index != _active) _hoverTimer.start();
    update();
}

void QovClassicTabsView::springLoad() {
    if (_dropIndex >= 0) manager()->set_active_playlist(size_t(_dropIndex));
}
