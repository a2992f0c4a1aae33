#pragma once

// Mouse and keyboard input for automation, delivered the way the window
// system delivers it: mouse events enter at the top-level window (so Qt does
// the hit testing, grabs, enter/leave, double-click detection, context menus
// and popups), key events go through shortcut matching to the focus widget and
// carry the native scan code of their key position.
//
// Offscreen Qt cannot run a real QDrag; drop() delivers the drag-enter, -move
// and drop events a real drop would, to the widget under the point. GUI thread.

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
    // Press, `steps` moves with the button held, release.
    void drag(QWidget* target, QPointF from, QPointF to, int steps = 8);

    // A drop in two halves, as a real one: entering and moving over the
    // receiver, then (when it accepted) dropping.
    struct DropTarget {
        QPointer<QWidget> receiver;
        QPointF at;  // in the receiver
        Qt::DropAction action = Qt::IgnoreAction;
        QString error;  // set when refused
    };
    DropTarget enterDrop(QWidget* target, QPointF pos, const QMimeData& data);
    // True when the receiver took the drop.
    bool finishDrop(const DropTarget& target, const QMimeData& data);
    // Both halves; empty when the drop was taken, else why not.
    QString drop(QWidget* target, QPointF pos, const QMimeData& data);

    // To the active popup, else the focus widget of the active (or given) window.
    void key(const KeyChord& chord, QWidget* fallbackWindow);
    void type(const QString& text, QWidget* fallbackWindow);

private:
    void mouse(QWidget* target, QPointF pos, QEvent::Type type, Qt::MouseButton button);
    void sendKey(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
                 const QString& text, quint32 scanCode);

    Qt::MouseButtons m_buttons;
};
