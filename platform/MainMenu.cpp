#include "MainMenu.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace platform {

namespace {

QPointer<QMenuBar>& current() {
    static QPointer<QMenuBar> bar;
    return bar;
}

}  // namespace

QMenuBar* MainMenu::bar() { return current(); }

void MainMenu::setBar(QMenuBar* bar) { current() = bar; }

void MainMenu::update(QMenu* menu) {
    // Menus that fill themselves do it when about to show.
    if (menu) emit menu->aboutToShow();
}

}  // namespace platform
