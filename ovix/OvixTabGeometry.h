#pragma once

// Where the Ovix tab strip puts its tabs and how it scrolls: tab rectangles
// from the titles' measured widths, the content width, the visible part left of
// the arrow cells when the tabs overflow, the scroll offset always clamped to
// the content, hit testing, paging by the arrows, the wheel, and cycling the
// active playlist by keyboard. Plain arithmetic in the strip's coordinates (y
// down). Any thread.

#include <QPointF>
#include <QRectF>

#include <cstddef>
#include <vector>

class OvixTabGeometry {
public:
    static constexpr double kMargin = 4;    // before the first tab and after the last
    static constexpr double kPadding = 24;  // title width + padding = tab width
    static constexpr double kMaxTabWidth = 220;
    static constexpr double kArrowCell = 18;  // two cells at the right edge when overflowing
    static constexpr double kLineWheelFactor = 20;

    // Recomputes the rectangles; the scroll offset is clamped again.
    void layout(const std::vector<double>& titleWidths);
    void resize(double width, double height);

    const std::vector<QRectF>& rects() const { return _rects; }
    double contentWidth() const { return _contentWidth; }
    double width() const { return _width; }
    double height() const { return _height; }
    double scroll() const { return _scroll; }
    bool overflows() const { return _contentWidth > _width; }
    double visibleWidth() const { return overflows() ? _width - 2 * kArrowCell : _width; }

    // Clamped to [0, max(content - visible, 0)].
    void scrollTo(double x);
    // Scrolls just enough to show tab `index`, 4 points inside the edge.
    void reveal(int index);
    // The tab at a point of the strip, or -1 (the arrow cells hit no tab).
    int tabAt(QPointF p) const;
    bool inArrows(QPointF p) const { return overflows() && p.x() >= visibleWidth(); }
    // An arrow click at `p`: moves by one tab towards the arrow's side.
    void arrowClick(QPointF p);
    // A wheel step; line-based wheels (not `precise`) move 20 points a line.
    void wheel(double dx, double dy, bool precise);

private:
    std::vector<QRectF> _rects;
    double _contentWidth = 2 * kMargin;
    double _width = 0;
    double _height = 0;
    double _scroll = 0;
};

// The playlist that Left (direction -1) or Right (+1) makes active among
// `count`, wrapping around; playlist 0 when none is active; SIZE_MAX when
// there are no playlists.
size_t cycledPlaylist(size_t active, size_t count, int direction);
