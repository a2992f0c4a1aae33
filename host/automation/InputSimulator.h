#pragma once

// Mouse and keyboard input for automation, delivered the way the window
// system delivers it: mouse events enter at the top-level window (so Qt does
// the hit testing, grabs, enter/leave, double-click detection, context menus
// and popups), key events go through shortcut matching to the focus widget and
// carry the native scan code of their key position.
//
// Offscreen Qt cannot run a real QDrag: a drag a view starts (through
// platform::startDrag) is carried to the release point here, and drop()
// delivers what another program's drop would. Either way the drag-enter,
// -move and drop events a real drop brings go to the widget under the point.
// GUI thread.

#include "ScriptText.h"

#include <QEvent>
#include <QPointer>
#include <QPointF>
#include <QString>

class QMimeData;
class QWidget;

class InputSimulator {
public:
    // Points are in `target`'s coordinates; the target must be in a shown window.
    void hover(QWidget* target, QPointF pos);
    void click(QWidget* target, QPointF pos, Qt::MouseButton button);
    void doubleClick(QWidget* target, QPointF pos);
    // Press at `from` in `source`, `steps` moves with the button held towards
    // `to` in `target` (the same widget or another), release there. A drag the
    // moves start goes to the widget under the release point, as a real one
    // would, and the moves it would swallow are not sent. Empty when no drag
    // started or its drop was taken; else why not.
    QString drag(QWidget* source, QPointF from, QWidget* target, QPointF to, int steps = 8);

    // A drop in two halves, as a real one: entering and moving over the
    // receiver, then (when it accepted) dropping.
    struct DropTarget {
        QPointer<QWidget> receiver;
        QPointF at;  // in the receiver
        Qt::DropAction action = Qt::IgnoreAction;
        QString error;  // set when refused
    };
    // `actions` are those the drag's source allows; a file manager allows all.
    static constexpr Qt::DropActions kAnyAction = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    DropTarget enterDrop(QWidget* target, QPointF pos, const QMimeData& data,
                         Qt::DropActions actions = kAnyAction);
    // True when the receiver took the drop.
    bool finishDrop(const DropTarget& target, const QMimeData& data, Qt::DropActions actions = kAnyAction);
    // Both halves; empty when the drop was taken, else why not.
    QString drop(QWidget* target, QPointF pos, const QMimeData& data, Qt::DropActions actions = kAnyAction);

    // To the active popup, else the focus widget of the active (or given) window.
    void key(const KeyChord& chord, QWidget* fallbackWindow);
    void type(const QString& text, QWidget* fallbackWindow);

private:
    void mouse(QWidget* target, QPointF pos, QEvent::Type type, Qt::MouseButton button);
    void sendKey(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
                 const QString& text, quint32 scanCode);

    Qt::MouseButtons m_buttons;
};
