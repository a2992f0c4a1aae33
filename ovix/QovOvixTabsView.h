#pragma once

// The Ovix tab strip: one tab per host playlist, the active one marked by an
// accent bar, scrolled sideways by the wheel or the arrow cells when the tabs
// overflow. A click activates a playlist, a double click renames it (or, on
// empty space, creates one), the context menu offers new, rename and remove.
// It holds only the names and the active index its controller pushes in; the
// changes it asks for reach it back through the controller's poll. Main thread.

#include "OvixTabGeometry.h"

#include <QStringList>
#include <QWidget>

class QMenu;

class QovOvixTabsView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 28;

    explicit QovOvixTabsView(QWidget* parent = nullptr);

    const QStringList& names() const { return _names; }
    void setNames(const QStringList& names);
    int active() const { return _active; }
    // Negative for none; scrolls the tab into view.
    void setActive(int index);

    const OvixTabGeometry& geometry() const { return _geometry; }
    // In the strip's coordinates, after scrolling; empty for no such tab.
    QRectF tabRect(int index) const;
    void setScrollTo(double x);
    int tabAt(QPointF p) const { return _geometry.tabAt(p); }
    int menuIndex() const { return _menuIndex; }

    // What a click on a tab or an arrow cell (0 left, 1 right) does.
    void clickTab(int index);
    void clickArrow(int cell);

    // The menu the strip shows for a right click at `p`.
    QMenu* menuFor(QPointF p);
    void newPlaylist();
    void removePlaylist();
    void renamePlaylist();

    QSize sizeHint() const override { return QSize(400, kHeight); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void layoutTabs();

    QStringList _names;
    int _active = -1;
    OvixTabGeometry _geometry;
    int _menuIndex = -1;
};
