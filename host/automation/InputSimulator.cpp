#include "InputSimulator.h"

#include "KeyPosition.h"
#include "StartDrag.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

// The window-system entry points QTest uses, exported by QtGui: a mouse event
// as the platform plugin reports it, and shortcut matching ahead of a key.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace {

// One clock for every simulator: Qt tells clicks from double clicks by it.
int g_timestamp = 1;

QWidget* keyTarget(QWidget* fallbackWindow) {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    QWidget* top = QApplication::activeModalWidget();
    if (!top) top = QApplication::activeWindow();
    if (!top) top = fallbackWindow;
    if (!top) return nullptr;
    return top->focusWidget() ? top->focusWidget() : top;
}

}  // namespace

void InputSimulator::mouse(QWidget* target, QPointF pos, QEvent::Type type, Qt::MouseButton button) {
    QWidget* top = target->window();
    QWindow* window = top->windowHandle();
    if (!window) return;
    const QPointF local = target->mapTo(top, pos);
    const QPointF global = window->mapToGlobal(local.toPoint());
    if (type == QEvent::MouseButtonPress) m_buttons |= button;
    if (type == QEvent::MouseButtonRelease) m_buttons &= ~button;
    g_timestamp += 16;
    qt_handleMouseEvent(window, local, global, m_buttons, button, type, QApplication::keyboardModifiers(),
                        g_timestamp);
}

void InputSimulator::hover(QWidget* target, QPointF pos) {
    mouse(target, pos, QEvent::MouseMove, Qt::NoButton);
}

void InputSimulator::click(QWidget* target, QPointF pos, Qt::MouseButton button) {
    hover(target, pos);
    mouse(target, pos, QEvent::MouseButtonPress, button);
    mouse(target, pos, QEvent::MouseButtonRelease, button);
    // Past the double-click interval: the next click is a click of its own.
    g_timestamp += QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100;
}

void InputSimulator::doubleClick(QWidget* target, QPointF pos) {
    hover(target, pos);
    mouse(target, pos, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(target, pos, QEvent::MouseButtonRelease, Qt::LeftButton);
    mouse(target, pos, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(target, pos, QEvent::MouseButtonRelease, Qt::LeftButton);
    g_timestamp += QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100;
}

void InputSimulator::pause(int ms) {
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString InputSimulator::drag(QList<DragStop> stops, int steps) {
    if (stops.size() < 2) return QStringLiteral("a drag needs two points");
    QString error;
    // Where stop k lies, found once, as the pointer heads there.
    qsizetype aimed = -1;
    const auto reach = [&](qsizetype k) {
        DragStop& s = stops[k];
        if (!s.view) {
            error = QStringLiteral("the view at point %1 of the drag has gone").arg(k + 1);
            return false;
        }
        if (k > aimed && s.aim) {
            const std::optional<QPointF> at = s.aim();
            if (!at) {
                error = QStringLiteral("point %1 of the drag is not there").arg(k + 1);
                return false;
            }
            s.at = *at;
        }
        aimed = std::max(aimed, k);
        return true;
    };
    if (!reach(0)) return error;

    qsizetype next = 1;  // the stop the pointer heads for
    bool started = false;
    // A real drag runs until the button is released; here it is carried on at
    // once, from within the move that started it.
    platform::setDragHook([&](QWidget*, const QMimeData& data, Qt::DropActions allowed) {
        started = true;
        DropTarget over;
        for (qsizetype k = next; k < stops.size(); ++k) {
            if (!reach(k)) {
                leaveDrag(over);
                return Qt::IgnoreAction;
            }
            over = dragTo(over, stops[k].view, stops[k].at, data, allowed);
            pause(stops[k].holdMs);
        }
        if (!over.error.isEmpty()) {
            leaveDrag(over);
            error = over.error;
            return Qt::IgnoreAction;
        }
        if (!over.receiver) {
            error = QStringLiteral("the release point has gone");
            return Qt::IgnoreAction;
        }
        if (!finishDrop(over, data, allowed)) {
            error = QStringLiteral("the drop was not taken");
            return Qt::IgnoreAction;
        }
        return over.action;
    });
    QWidget* source = stops[0].view;
    QPointer<QWidget> pressed(source);
    QPointF last = stops[0].at;
    hover(source, last);
    mouse(source, last, QEvent::MouseButtonPress, Qt::LeftButton);
    pause(stops[0].holdMs);
    for (; next < stops.size() && pressed && !started; ++next) {
        if (!reach(next)) break;
        // Until a drag starts, the view pressed has the mouse wherever it goes.
        const QPointF begin = last;
        const QPointF end = source->mapFromGlobal(stops[next].view->mapToGlobal(stops[next].at));
        for (int i = 1; i <= steps && pressed && !started; ++i) {
            last = begin + (end - begin) * (double(i) / steps);
            mouse(source, last, QEvent::MouseMove, Qt::NoButton);
        }
        if (!started) pause(stops[next].holdMs);
    }
    // After a drag the release comes back to the view it began in, where the
    // drag left the pointer: elsewhere Qt would first move it there with the
    // button held, which starts another drag.
    if (pressed) mouse(source, last, QEvent::MouseButtonRelease, Qt::LeftButton);
    platform::setDragHook({});
    g_timestamp += QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100;
    return error;
}

InputSimulator::DropTarget InputSimulator::dragTo(const DropTarget& from, QWidget* target, QPointF pos,
                                                  const QMimeData& data, Qt::DropActions actions) {
    QWidget* receiver = target->childAt(pos.toPoint());
    if (!receiver) receiver = target;
    while (receiver && !receiver->acceptDrops() && receiver != target) receiver = receiver->parentWidget();
    if (receiver && !receiver->acceptDrops()) receiver = nullptr;

    DropTarget t;
    if (receiver && receiver == from.receiver) {
        t = from;
    } else {
        leaveDrag(from);
        if (!receiver) {
            t.error = QStringLiteral("nothing at that point accepts drops");
            return t;
        }
        QDragEnterEvent enter(receiver->mapFrom(target, pos).toPoint(), actions, &data, Qt::NoButton,
                              Qt::NoModifier);
        QApplication::sendEvent(receiver, &enter);
        if (!enter.isAccepted()) {
            t.error = QStringLiteral("the drop was refused on entering");
            return t;
        }
        t.receiver = receiver;
        t.action = enter.dropAction();
    }
    t.at = receiver->mapFrom(target, pos);
    // As the window system does: the move starts out as the last answer ended.
    QDragMoveEvent move(t.at.toPoint(), actions, &data, Qt::NoButton, Qt::NoModifier);
    move.setDropAction(t.action);
    move.setAccepted(true);
    QApplication::sendEvent(receiver, &move);
    if (!move.isAccepted()) {
        t.error = QStringLiteral("the drop was refused at that point");
        return t;
    }
    t.error.clear();
    t.action = move.dropAction() ? move.dropAction() : Qt::CopyAction;
    return t;
}

void InputSimulator::leaveDrag(const DropTarget& at) {
    if (!at.receiver) return;
    QDragLeaveEvent leave;
    QApplication::sendEvent(at.receiver, &leave);
}

InputSimulator::DropTarget InputSimulator::enterDrop(QWidget* target, QPointF pos, const QMimeData& data,
                                                     Qt::DropActions actions) {
    DropTarget t = dragTo({}, target, pos, data, actions);
    if (!t.error.isEmpty()) {
        leaveDrag(t);
        t.receiver = nullptr;
    }
    return t;
}

bool InputSimulator::finishDrop(const DropTarget& target, const QMimeData& data, Qt::DropActions actions) {
    if (!target.receiver || !target.error.isEmpty()) return false;
    QDropEvent drop(target.at, actions, &data, Qt::NoButton, Qt::NoModifier);
    drop.setDropAction(target.action);
    QApplication::sendEvent(target.receiver, &drop);
    return drop.isAccepted();
}

QString InputSimulator::drop(QWidget* target, QPointF pos, const QMimeData& data, Qt::DropActions actions) {
    const DropTarget t = enterDrop(target, pos, data, actions);
    if (!t.error.isEmpty()) return t.error;
    return finishDrop(t, data, actions) ? QString() : QStringLiteral("the drop was not taken");
}

void InputSimulator::sendKey(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
                             const QString& text, quint32 scanCode) {
    g_timestamp += 16;
    if (type == QEvent::KeyPress &&
        qt_sendShortcutOverrideEvent(target, ulong(g_timestamp), qtKey, modifiers, text, false, 1))
        return;
    QKeyEvent event(type, qtKey, modifiers, scanCode, 0, 0, text);
    event.setTimestamp(ulong(g_timestamp));
    QApplication::sendEvent(target, &event);
}

void InputSimulator::key(const KeyChord& chord, QWidget* fallbackWindow) {
    QPointer<QWidget> target = keyTarget(fallbackWindow);
    if (!target) return;
    const auto press = platform::makeKeyEvent(QEvent::KeyPress, chord.position, chord.modifiers);
    if (!press) return;
    sendKey(target, QEvent::KeyPress, press->key(), press->modifiers(), press->text(),
            press->nativeScanCode());
    // The press may have closed the target (Escape on a popup).
    if (!target) return;
    sendKey(target, QEvent::KeyRelease, press->key(), press->modifiers(), press->text(),
            press->nativeScanCode());
}

void InputSimulator::type(const QString& text, QWidget* fallbackWindow) {
    for (const char32_t c : text.toUcs4()) {
        QPointer<QWidget> target = keyTarget(fallbackWindow);
        if (!target) return;
        const QString one = QString::fromUcs4(&c, 1);
        // Latin keys are named by their upper-case character, as Qt names them.
        const int qtKey = c < 0x80 ? int(QChar(char16_t(c)).toUpper().unicode()) : 0;
        const Qt::KeyboardModifiers mods = (c >= 'A' && c <= 'Z') ? Qt::ShiftModifier : Qt::NoModifier;
        sendKey(target, QEvent::KeyPress, qtKey, mods, one, 0);
        if (target) sendKey(target, QEvent::KeyRelease, qtKey, mods, one, 0);
    }
}
