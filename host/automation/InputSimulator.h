#pragma once

// Mouse and keyboard input for automation, delivered the way the window
// system delivers it: mouse events enter at the top-level window (so Qt does
// the hit testing, grabs, enter/leave, double-click detection, context menus
// and popups), key events go through shortcut matching to the focus widget and
// carry the native scan code of their key position.
//
// Offscreen Qt cannot run a real QDrag: a drag a view starts (through
// platform::startDrag) is carried along its way to the release point here, and
// drop() delivers what another program's drop would. Either way the
// drag-enter, -move, -leave and drop events a real drag brings go to the
// widgets under the way.
// GUI thread.

#include "ScriptText.h"

#include <QEvent>
#include <QPointer>
#include <QPointF>
#include <QString>

#include <functional>
#include <optional>

class QMimeData;
class QWidget;

class InputSimulator {
public:
    // Points are in `target`'s coordinates; the target must be in a shown window.
    void hover(QWidget* target, QPointF pos);
    void click(QWidget* target, QPointF pos, Qt::MouseButton button);
    void doubleClick(QWidget* target, QPointF pos);
    // One point of a drag's way, in `view`'s coordinates.
    struct DragStop {
        QPointer<QWidget> view;
        QPointF at;
        // The button stays down there this long, the drag going on.
        int holdMs = 0;
        // When set, finds `at` as the pointer heads there (what lies there may
        // have changed on the way); none cancels the drag.
        std::function<std::optional<QPointF>()> aim;
    };
    // Press at the first stop, `steps` moves with the button held towards each
    // next one, release at the last. A drag the moves start is carried on from
    // where they were heading, through the stops left, to the widget under the
    // last, as a real one would: the widgets under the way are entered, moved
    // over and left, and the moves the drag would swallow are not sent. Empty
    // when no drag started or its drop was taken; else why not.
    QString drag(QList<DragStop> stops, int steps = 8);

    // Where a drag is: the widget that took it on entering, and whether it
    // would take the drop here.
    struct DropTarget {
        QPointer<QWidget> receiver;
        QPointF at;  // in the receiver
        Qt::DropAction action = Qt::IgnoreAction;
        QString error;  // set when refused here
    };
    // `actions` are those the drag's source allows; a file manager allows all.
    static constexpr Qt::DropActions kAnyAction = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    // The drag, until now at `from` (empty: just come in), moved to `pos` in
    // `target`: the widget it leaves learns so, the one it comes to is entered,
    // and it moves over that one.
    static DropTarget dragTo(const DropTarget& from, QWidget* target, QPointF pos, const QMimeData& data,
                             Qt::DropActions actions = kAnyAction);
    // The drag ends where it is without a drop.
    static void leaveDrag(const DropTarget& at);
    // A drop from outside in two halves, as a real one: entering and moving
    // over the receiver (left again when it refuses), then dropping.
    static DropTarget enterDrop(QWidget* target, QPointF pos, const QMimeData& data,
                                Qt::DropActions actions = kAnyAction);
    // True when the receiver took the drop.
    static bool finishDrop(const DropTarget& target, const QMimeData& data,
                           Qt::DropActions actions = kAnyAction);
    // Both halves; empty when the drop was taken, else why not.
    static QString drop(QWidget* target, QPointF pos, const QMimeData& data,
                        Qt::DropActions actions = kAnyAction);

    // To the active popup, else the focus widget of the active (or given) window.
    void key(const KeyChord& chord, QWidget* fallbackWindow);
    void type(const QString& text, QWidget* fallbackWindow);

private:
    void mouse(QWidget* target, QPointF pos, QEvent::Type type, Qt::MouseButton button);
    // Lets the application run for `ms`, as a user holding still.
    static void pause(int ms);
    void sendKey(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
                 const QString& text, quint32 scanCode);

    Qt::MouseButtons m_buttons;
};
