#pragma once

// The main menu: File, Edit, Playback, Library, View, Help. The host's own
// items run through HostCommands (the path standard_commands::run_main takes
// too), Edit's standard items through the focused view (EditMenu); every
// component's mainmenu_commands appear under their group, sorted by priority
// then name, with their current text and flags. Shortcuts work from every
// window of the application.
//
// Nothing here calls a service while the window starts: component commands,
// enabled states and the Playback Order submenu are made when a menu is about
// to show (and when automation looks an item up). GUI thread.
//
// Ownership: component actions hold their command service; they go with the
// menus, which go with the window, before the components are unloaded.

#include "MenuCommandCatalog.h"

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

class MainMenuBuilder : public QObject {
    Q_OBJECT

public:
    // What the host's own items do beyond HostCommands.
    struct Hooks {
        std::function<void()> showLibraryFolders;
        std::function<void()> showAbout;
    };

    MainMenuBuilder(QMenuBar* bar, Hooks hooks, QObject* parent = nullptr);

    // "Menu/Item" or "Menu/Submenu/Item", texts without mnemonics; brings the
    // menus on the way up to date first. Null when there is no such item.
    QAction* find(const QString& path);

    // Brings a menu's dynamic items up to date, as showing it does.
    void refresh(QMenu* menu);

    QMenu* menu(const QString& title) const;

private:
    struct Slot {
        GUID group;
        QAction* anchor;  // component commands go in before it
        std::vector<QAction*> actions;
        std::vector<MenuCommand> commands;  // what each action runs
    };
    struct HostItem {
        QAction* action;
        GUID command;
    };

    QMenu* addMenu(const QString& title, const char* objectName);
    QAction* addHostItem(QMenu* menu, const QString& text, const GUID& command,
                         const QKeySequence& shortcut = {});
    void addSlot(QMenu* menu, const GUID& group);
    void fillOrders(QMenu* orders);
    void reportUnplaced(const std::vector<MenuCommand>& all);

    QMenuBar* m_bar;
    Hooks m_hooks;
    std::map<QMenu*, std::vector<Slot>> m_slots;
    std::vector<HostItem> m_hostItems;
    QAction* m_pause = nullptr;
};
