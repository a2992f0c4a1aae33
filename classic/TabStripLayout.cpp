#include "TabStripLayout.h"

#include <algorithm>
#include <cmath>

namespace {

// As the platform tests points against rectangles: right and bottom edges
// belong to the next one.
bool inside(const QRectF& r, QPointF p) {
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

}  // namespace

void TabStripLayout::setSize(double width, double height) {
    _width = width;
    _height = height;
    layout();
}

void TabStripLayout::setTabs(std::vector<Tab> tabs, bool closeButtons) {
    _tabs = std::move(tabs);
    _closeButtons = closeButtons;
    layout();
}

void TabStripLayout::layout() {
    _rects.clear();
    _rects.reserve(_tabs.size());
    const double h = _height - kTabTop;
    double x = kFirstX;
    for (const Tab& t : _tabs) {
        double w = t.textWidth + 2 * kTextPadding;
        if (_closeButtons) w += kCloseExtra;
        if (t.locked) w += kLockExtra;
        w = std::min(w, kMaxTabWidth);
        _rects.emplace_back(x, kTabTop, w, h);
        x += w + kGap;
    }
    _contentWidth = _tabs.empty() ? kEmptyContentWidth : x + kRightMargin;
    scrollTo(_scroll);
}

bool TabStripLayout::isLocked(int tab) const {
    return tab >= 0 && size_t(tab) < _tabs.size() && _tabs[size_t(tab)].locked;
}

QRectF TabStripLayout::rectOf(int tab) const {
    if (tab < 0 || size_t(tab) >= _rects.size()) return {};
    return _rects[size_t(tab)];
}

double TabStripLayout::maxScroll() const { return std::max(0.0, _contentWidth - visibleWidth()); }

void TabStripLayout::scrollTo(double x) { _scroll = x < 0 ? 0 : std::min(x, maxScroll()); }

void TabStripLayout::reveal(int tab) {
    if (tab < 0 || size_t(tab) >= _rects.size()) return;
    const QRectF r = _rects[size_t(tab)];
    if (_scroll > r.x())
        scrollTo(r.x() - kFirstX);
    else if (r.right() > _scroll + visibleWidth())
        scrollTo(r.right() - visibleWidth() + kFirstX);
}

void TabStripLayout::pageLeft() {
    for (auto r = _rects.rbegin(); r != _rects.rend(); ++r) {
        if (r->x() - kFirstX < _scroll - 1) {
            scrollTo(r->x() - kFirstX);
            return;
        }
    }
}

void TabStripLayout::pageRight() {
    for (const QRectF& r : _rects) {
        if (r.x() - kFirstX > _scroll + 1) {
            scrollTo(r.x() - kFirstX);
            return;
        }
    }
}

void TabStripLayout::wheel(double dx, double dy, bool precise) {
    double delta = std::abs(dx) > std::abs(dy) ? dx : dy;
    if (!precise) delta *= kWheelLineStep;
    scrollTo(_scroll - delta);
}

int TabStripLayout::tabAt(QPointF p) const {
    if (p.x() >= visibleWidth()) return -1;
    const QPointF content(p.x() + _scroll, p.y());
    for (size_t i = 0; i < _rects.size(); ++i)
        if (inside(_rects[i], content)) return int(i);
    return -1;
}

TabStripLayout::Arrow TabStripLayout::arrowAt(QPointF p) const {
    if (!overflows() || p.x() < visibleWidth()) return Arrow::None;
    return p.x() < visibleWidth() + kArrowWidth ? Arrow::Left : Arrow::Right;
}

int TabStripLayout::insertIndexAt(double x) const {
    const double content = x + _scroll;
    for (size_t i = 0; i < _rects.size(); ++i)
        if (_rects[i].x() + _rects[i].width() / 2 > content) return int(i);
    return int(_rects.size());
}

QRectF TabStripLayout::closeRectOf(int tab) const {
    const QRectF r = rectOf(tab);
    return {r.right() - kCloseSize - 3, r.center().y() - kCloseSize / 2, kCloseSize, kCloseSize};
}

QRectF TabStripLayout::lockRectOf(int tab) const {
    const QRectF r = rectOf(tab);
    return {r.x() + kTextPadding, r.center().y() - 5, 9, 10};
}

double TabStripLayout::textX(int tab) const {
    return rectOf(tab).x() + kTextPadding + (isLocked(tab) ? kLockExtra : 0);
}

double TabStripLayout::textWidth(int tab) const {
    return rectOf(tab).right() - textX(tab) - (_closeButtons ? kCloseExtra : 0) - kTextPadding;
}

QRectF TabStripLayout::visibleRectOf(int tab) const {
    const QRectF shown = rectOf(tab).translated(-_scroll, 0) & QRectF(0, 0, visibleWidth(), _height);
    return shown.isValid() ? shown : QRectF();
}

std::optional<std::vector<size_t>> TabStripLayout::reorder(int from, int target, size_t count) {
    if (from < 0 || target < 0 || target == from || target == from + 1) return std::nullopt;
    std::vector<size_t> order;
    order.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (i == size_t(target)) order.push_back(size_t(from));
        if (i != size_t(from)) order.push_back(i);
    }
    if (size_t(target) >= count) order.push_back(size_t(from));
    if (order.size() != count) return std::nullopt;
    return order;
}

int TabStripLayout::dropTarget(int tab, size_t count) { return tab >= 0 && size_t(tab) < count ? tab : -1; }

bool TabMove::dragTo(double x, TabStripLayout& strip) {
    if (!_moved && std::abs(x - _startX) < TabStripLayout::kMoveThreshold) return false;
    if (x < TabStripLayout::kAutoScrollEdge)
        strip.scrollBy(-TabStripLayout::kAutoScrollStep);
    else if (x > strip.visibleWidth() - TabStripLayout::kAutoScrollEdge)
        strip.scrollBy(TabStripLayout::kAutoScrollStep);
    _target = strip.insertIndexAt(x);
    _moved = true;
    return true;
}

QString tabTitle(const QString& name) {
    QString title = name;
    for (QChar& c : title) {
        const QChar::Category k = c.category();
        if (k == QChar::Other_Control || k == QChar::Separator_Line || k == QChar::Separator_Paragraph)
            c = u' ';
    }
    return title;
}
