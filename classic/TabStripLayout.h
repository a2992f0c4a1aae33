#pragma once

// Where the playlist tabs go in the strip, and what a point, a wheel turn or
// an arrow click means there: plain arithmetic over the tabs' text widths and
// the strip's size. The view measures and draws; everything it asks about
// geometry is answered here. Coordinates are the view's, y downwards; tab
// rectangles are in content coordinates (before the horizontal scroll).

#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

class TabStripLayout {
public:
    static constexpr double kHeight = 24;
    static constexpr double kFirstX = 2;
    static constexpr double kRightMargin = 2;
    static constexpr double kGap = 1;
    static constexpr double kTabTop = 3;
    static constexpr double kTextPadding = 8;  // each side
    static constexpr double kCloseExtra = 14;
    static constexpr double kLockExtra = 13;
    static constexpr double kMaxTabWidth = 240;
    static constexpr double kEmptyContentWidth = 4;
    static constexpr double kArrowWidth = 18;
    static constexpr double kArrowArea = 2 * kArrowWidth;
    static constexpr double kCloseSize = 14;
    static constexpr double kMoveThreshold = 5;
    static constexpr double kAutoScrollStep = 12;
    static constexpr double kAutoScrollEdge = 10;
    static constexpr double kWheelLineStep = 20;

    struct Tab {
        double textWidth = 0;
        bool locked = false;
    };

    enum class Arrow { None, Left, Right };

    void setSize(double width, double height);
    // Lays the tabs out afresh; keeps the scroll where it can stay.
    void setTabs(std::vector<Tab> tabs, bool closeButtons);

    double width() const { return _width; }
    double height() const { return _height; }
    size_t count() const { return _rects.size(); }
    bool closeButtons() const { return _closeButtons; }
    bool isLocked(int tab) const;
    // Content coordinates; empty for an index without a tab.
    QRectF rectOf(int tab) const;
    double contentWidth() const { return _contentWidth; }
    bool overflows() const { return _contentWidth > _width; }
    // Without the arrows when they show.
    double visibleWidth() const { return overflows() ? _width - kArrowArea : _width; }
    double maxScroll() const;
    double scroll() const { return _scroll; }

    // Clamped to 0 ... maxScroll.
    void scrollTo(double x);
    void scrollBy(double dx) { scrollTo(_scroll + dx); }
    // Brings the tab into view when it is not.
    void reveal(int tab);
    // One tab further, for a click on an arrow.
    void pageLeft();
    void pageRight();
    // Horizontal when it is the larger part; lines (no precise deltas) are
    // kWheelLineStep points each.
    void wheel(double dx, double dy, bool precise);

    // The tab under a point of the view; -1 for none, and in the arrows.
    int tabAt(QPointF p) const;
    Arrow arrowAt(QPointF p) const;
    // Where a tab dragged to x (view) would go: before the first tab whose
    // middle lies right of it, else after the last.
    int insertIndexAt(double x) const;
    // Content coordinates, whether or not the box shows.
    QRectF closeRectOf(int tab) const;
    QRectF lockRectOf(int tab) const;
    // Where the title starts, and how wide it may be drawn.
    double textX(int tab) const;
    double textWidth(int tab) const;
    // The part of the tab within the visible width, in view coordinates; empty
    // when it is scrolled out of sight.
    QRectF visibleRectOf(int tab) const;

    // The new playlist order for moving `from` before `target` (count:
    // after the last), each entry the old index of that position; none when
    // the order stays as it is or the move does not fit `count` playlists.
    static std::optional<std::vector<size_t>> reorder(int from, int target, size_t count);
    // A drop on `tab` goes to that playlist; anywhere else (-1) to a new one.
    static int dropTarget(int tab, size_t count);

private:
    void layout();

    double _width = 0;
    double _height = kHeight;
    bool _closeButtons = false;
    std::vector<Tab> _tabs;
    std::vector<QRectF> _rects;
    double _contentWidth = kEmptyContentWidth;
    double _scroll = 0;
};

// A tab dragged along the strip: nothing until the pointer has gone
// kMoveThreshold sideways, then the insertion index follows it, scrolling
// the strip when it nears either edge.
class TabMove {
public:
    explicit TabMove(int from, double startX) : _from(from), _startX(startX) {}

    // True when the marker moved or the strip scrolled: time to redraw.
    bool dragTo(double x, TabStripLayout& strip);
    int from() const { return _from; }
    bool moved() const { return _moved; }
    // -1 until moved.
    int target() const { return _target; }

private:
    int _from;
    double _startX;
    bool _moved = false;
    int _target = -1;
};

// A playlist name as a tab shows it: on one line, control characters as
// spaces.
QString tabTitle(const QString& name);
