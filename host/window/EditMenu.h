#pragma once

// The Edit menu's standard items, Undo to Select All, with the Mac's shortcuts
// typed with Ctrl. Each goes to the focused view through the responder chain
// (platform::ResponderChain) and is enabled from that view's validation, both
// when the menu is about to show and before a key is matched against the
// shortcuts: a shortcut fires only when the focused view can act now, and
// otherwise the key goes on to the view as typed. The shortcuts work from every
// window of the application. GUI thread.

#include "EditResponder.h"

#include <QObject>
#include <QPointer>

#include <utility>
#include <vector>

class QAction;
class QMenu;
class QWidget;

class EditMenu : public QObject {
    Q_OBJECT

public:
    // Adds the items at the end of `menu`.
    explicit EditMenu(QMenu* menu, QObject* parent = nullptr);

    // Enables each item as the focused view says.
    void validate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* firstResponder() const;

    std::vector<std::pair<platform::EditAction, QAction*>> m_items;
    // Where the focus was before the menu bar took it (Alt pressed alone).
    QPointer<QWidget> m_focusBeforeMenus;
};
