#include "EditMenu.h"

#include "Beep.h"
#include "ResponderChain.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

using platform::EditAction;
using platform::ResponderChain;

namespace {

struct Item {
    EditAction action;
    const char* text;
    QKeySequence shortcut;
    bool separatorAfter;
};

}  // namespace

EditMenu::EditMenu(QMenu* menu, QObject* parent) : QObject(parent) {
    const Item items[] = {
        {EditAction::Undo, QT_TR_NOOP("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), false},
        {EditAction::Redo, QT_TR_NOOP("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), true},
        {EditAction::Cut, QT_TR_NOOP("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), false},
        {EditAction::Copy, QT_TR_NOOP("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), false},
        {EditAction::Paste, QT_TR_NOOP("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), false},
        {EditAction::Delete, QT_TR_NOOP("&Delete"), QKeySequence(Qt::Key_Delete), false},
        {EditAction::SelectAll, QT_TR_NOOP("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A), false},
    };
    for (const Item& item : items) {
        QAction* action = menu->addAction(tr(item.text));
        action->setShortcut(item.shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, [this, a = item.action] {
            // Chosen after its view stopped being able to act: say so.
            if (!ResponderChain::perform(a, firstResponder())) platform::beep();
        });
        m_items.emplace_back(item.action, action);
        if (item.separatorAfter) menu->addSeparator();
    }
    connect(menu, &QMenu::aboutToShow, this, &EditMenu::validate);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (qobject_cast<QMenuBar*>(now)) m_focusBeforeMenus = old;
    });
    qApp->installEventFilter(this);
    validate();
}

QWidget* EditMenu::firstResponder() const {
    QWidget* focus = ResponderChain::firstResponder();
    // A menu bar in keyboard use holds the focus, for the view it came from.
    if (qobject_cast<QMenuBar*>(focus)) return m_focusBeforeMenus;
    return focus;
}

void EditMenu::validate() {
    QWidget* from = firstResponder();
    for (const auto& [a, item] : m_items) item->setEnabled(ResponderChain::validate(a, from));
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    // Sent to the focused view before the shortcuts are matched.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const auto& [a, item] : m_items) {
            if (item->shortcut() != pressed) continue;
            validate();
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
