#include "OvixTabGeometry.h"

#include <algorithm>
#include <cmath>

void OvixTabGeometry::layout(const std::vector<double>& titleWidths) {
    _rects.clear();
    double x = kMargin;
    for (double titleWidth : titleWidths) {
        const double w = std::min(titleWidth + kPadding, kMaxTabWidth);
        _rects.emplace_back(x, 0, w, _height);
        x += w;
    }
    _contentWidth = _rects.empty() ? 2 * kMargin : x + kMargin;
    scrollTo(_scroll);
}

void OvixTabGeometry::resize(double width, double height) {
    _width = width;
    _height = height;
    for (QRectF& r : _rects) r.setHeight(height);
    scrollTo(_scroll);
}

void OvixTabGeometry::scrollTo(double x) {
    if (!(x >= 0)) x = 0;  // NaN too
    _scroll = std::min(x, std::max(_contentWidth - visibleWidth(), 0.0));
}

void OvixTabGeometry::reveal(int index) {
    if (index < 0 || size_t(index) >= _rects.size()) return;
    const QRectF& r = _rects[size_t(index)];
    if (_scroll > r.x())
        scrollTo(r.x() - kMargin);
    else if (r.x() + r.width() > _scroll + visibleWidth())
        scrollTo(r.x() + r.width() - visibleWidth() + kMargin);
}

int OvixTabGeometry::tabAt(QPointF p) const {
    if (p.x() >= visibleWidth()) return -1;
    const QPointF content(p.x() + _scroll, p.y());
    for (size_t i = 0; i < _rects.size(); ++i)
        if (_rects[i].contains(content)) return int(i);
    return -1;
}

void OvixTabGeometry::arrowClick(QPointF p) {
    if (!inArrows(p)) return;
    if (p.x() < visibleWidth() + kArrowCell) {
        for (size_t i = _rects.size(); i-- > 0;) {
            if (_rects[i].x() - kMargin < _scroll - 1) {
                scrollTo(_rects[i].x() - kMargin);
                return;
            }
        }
        return;
    }
    for (const QRectF& r : _rects) {
        if (r.x() - kMargin > _scroll + 1) {
            scrollTo(r.x() - kMargin);
            return;
        }
    }
}

void OvixTabGeometry::wheel(double dx, double dy, bool precise) {
    double delta = std::abs(dx) > std::abs(dy) ? dx : dy;
    if (!precise) delta *= kLineWheelFactor;
    scrollTo(_scroll - delta);
}

size_t cycledPlaylist(size_t active, size_t count, int direction) {
    if (count == 0) return SIZE_MAX;
    if (active == SIZE_MAX) return 0;
    // An index past the end (a stale answer) counts from the last playlist.
    const size_t a = std::min(active, count - 1);
    return direction < 0 ? (a + count - 1) % count : (a + 1) % count;
}
