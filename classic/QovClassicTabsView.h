#pragma once

// The playlist tab strip: one tab per player playlist, in the player's order,
// fed by its controller (names, lock flags, the active index). It scrolls when
// the tabs do not fit, switches, creates, renames, removes, locks and reorders
// playlists with the mouse, and takes dropped tracks and files on a tab or on
// the empty strip. Every change goes to the player; the strip shows it when
// the controller pushes it back. Geometry is TabStripLayout's; this view
// measures, draws and turns events into player calls. Main thread.

#include "metadb_handle.h"
#include "TabStripLayout.h"

#include <QPointF>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QMimeData;

class QovClassicTabsView : public QWidget {
    Q_OBJECT

public:
    // How long a dragged track hovers over a tab before it opens.
    static constexpr int kSpringLoadMs = 700;
    static constexpr int kNoDrop = -2;

    explicit QovClassicTabsView(QWidget* parent = nullptr);

    const QStringList& names() const { return _names; }
    void setNames(const QStringList& names);
    const std::vector<bool>& locked() const { return _locked; }
    void setLocked(const std::vector<bool>& locked);
    int active() const { return _active; }
    void setActive(int index);
    // -1: over the strip but no tab; kNoDrop: no drag.
    int dropIndex() const { return _dropIndex; }
    void setDropIndex(int index);
    int hover() const { return _hover; }
    int menuIndex() const { return _menuIndex; }
    bool isLocked(int index) const;
    const TabStripLayout& strip() const { return _strip; }
    void setScrollTo(double x);
    // A setting the tabs show changed (close buttons).
    void settingsChanged();

    // The menu for a right click at `p` (view coordinates); none in the arrows.
    std::unique_ptr<QMenu> menuAt(QPointF p);
    // Asks for a new name for the tab the last menu or double click was for.
    void renamePlaylist();
    // Appends unselected; to a new playlist, made active, when `target` is no
    // playlist (any more). A drop on a tab does not activate it.
    static void addToPlaylist(int target, const metadb_handle_list& tracks);
    // At the end, made active.
    static void newPlaylist();

    QSize sizeHint() const override { return {400, int(TabStripLayout::kHeight)}; }
    QSize minimumSizeHint() const override { return {0, int(TabStripLayout::kHeight)}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void mouseDown(QPointF p, bool doubleClick);
    // Measures the titles anew (names or fonts changed), then lays out.
    void measure();
    void layoutTabs();
    void revealActive();
    void setHover(int index);
    // Accepts or refuses the drag where it now is.
    void answerDrag(QDragMoveEvent* event);
    static bool isPlaylistDrag(const QMimeData& data);
    void springLoad();

    QStringList _names;
    QStringList _titles;  // the names as tabs show them
    std::vector<bool> _locked;
    std::vector<double> _widths;  // title widths in the regular font
    int _active = 0;
    TabStripLayout _strip;
    int _hover = -1;
    int _moveTo = -1;
    std::optional<TabMove> _move;
    int _dropIndex = kNoDrop;
    int _menuIndex = 0;
    QTimer _hoverTimer;
    metadb_handle_list _dragItems;
};
