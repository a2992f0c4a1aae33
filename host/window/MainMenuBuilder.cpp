#include "MainMenuBuilder.h"

#include "EditMenu.h"
#include "HostCommands.h"

#include "console.h"
#include "playback_control.h"
#include "playlist_manager.h"
#include "standard_commands.h"
#include "std_api.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <set>
#include <utility>

namespace {

QString plain(QString text) {
    const qsizetype tab = text.indexOf(u'\t');
    if (tab >= 0) text.truncate(tab);
    return text.remove(u'&');
}

const GUID kGroups[] = {mainmenu_groups::file,     mainmenu_groups::file_etc, mainmenu_groups::edit,
                        mainmenu_groups::playback, mainmenu_groups::library,  mainmenu_groups::view,
                        mainmenu_groups::help};

bool isKnownGroup(const GUID& g) {
    for (const GUID& k : kGroups)
        if (k == g) return true;
    return false;
}

}  // namespace

MainMenuBuilder::MainMenuBuilder(QMenuBar* bar, Hooks hooks, QObject* parent)
    : QObject(parent), m_bar(bar), m_hooks(std::move(hooks)) {
    using namespace standard_commands;

    // The Mac's Command shortcuts, typed with Ctrl here; fixed rather than the
    // platform theme's, which has none for Quit or Preferences on some desktops.
    QMenu* file = addMenu(tr("&File"), "menuFile");
    addHostItem(file, tr("&Open..."), guid_main_open, QKeySequence(Qt::CTRL | Qt::Key_O));
    addHostItem(file, tr("&Add Files..."), guid_main_add_files);
    addHostItem(file, tr("Add Fol&der..."), guid_main_add_folder);
    addSlot(file, mainmenu_groups::file);
    addHostItem(file, tr("&Preferences..."), guid_main_preferences, QKeySequence(Qt::CTRL | Qt::Key_Comma))
        ->setMenuRole(QAction::PreferencesRole);
    addSlot(file, mainmenu_groups::file_etc);
    addHostItem(file, tr("&Quit"), guid_main_exit, QKeySequence(Qt::CTRL | Qt::Key_Q))
        ->setMenuRole(QAction::QuitRole);

    QMenu* edit = addMenu(tr("&Edit"), "menuEdit");
    new EditMenu(edit, this);
    addSlot(edit, mainmenu_groups::edit);

    QMenu* playback = addMenu(tr("&Playback"), "menuPlayback");
    addHostItem(playback, tr("&Play"), guid_main_play);
    m_pause = addHostItem(playback, tr("P&ause"), guid_main_pause);
    m_pause->setCheckable(true);
    addHostItem(playback, tr("&Stop"), guid_main_stop);
    addHostItem(playback, tr("&Next"), guid_main_next);
    addHostItem(playback, tr("P&revious"), guid_main_previous);
    addHostItem(playback, tr("R&andom"), guid_main_random);
    playback->addSeparator();
    QMenu* orders = playback->addMenu(tr("Playback &Order"));
    orders->setObjectName(QStringLiteral("menuPlaybackOrder"));
    connect(orders, &QMenu::aboutToShow, this, [this, orders] { fillOrders(orders); });
    addSlot(playback, mainmenu_groups::playback);

    QMenu* library = addMenu(tr("&Library"), "menuLibrary");
    library->addAction(tr("Library &Folders..."), this, [this] {
        if (m_hooks.showLibraryFolders) m_hooks.showLibraryFolders();
    });
    addSlot(library, mainmenu_groups::library);

    QMenu* view = addMenu(tr("&View"), "menuView");
    addHostItem(view, tr("&Console"), guid_main_show_console);
    addSlot(view, mainmenu_groups::view);

    QMenu* help = addMenu(tr("&Help"), "menuHelp");
    addSlot(help, mainmenu_groups::help);
    help->addAction(tr("&About quorvane"), this,
                    [this] {
                        if (m_hooks.showAbout) m_hooks.showAbout();
                    })
        ->setMenuRole(QAction::AboutRole);
}

QMenu* MainMenuBuilder::addMenu(const QString& title, const char* objectName) {
    QMenu* menu = m_bar->addMenu(title);
    menu->setObjectName(QLatin1String(objectName));
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { refresh(menu); });
    m_slots[menu];
    return menu;
}

QAction* MainMenuBuilder::addHostItem(QMenu* menu, const QString& text, const GUID& command,
                                      const QKeySequence& shortcut) {
    QAction* action = menu->addAction(text);
    action->setShortcut(shortcut);
    // One menu for all windows, as on the Mac: Quit works from the preferences too.
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, this, [command] { HostCommands::run(command); });
    m_hostItems.push_back({action, command});
    return action;
}

void MainMenuBuilder::addSlot(QMenu* menu, const GUID& group) {
    // Separators around each group; the menu collapses doubled or edge ones.
    menu->addSeparator();
    QAction* anchor = menu->addSeparator();
    m_slots[menu].push_back({group, anchor, {}, {}});
}

QMenu* MainMenuBuilder::menu(const QString& title) const {
    for (QAction* a : m_bar->actions())
        if (a->menu() && plain(a->text()) == title) return a->menu();
    return nullptr;
}

void MainMenuBuilder::refresh(QMenu* menu) {
    for (const HostItem& item : m_hostItems) {
        if (menu->actions().contains(item.action))
            item.action->setEnabled(HostCommands::available(item.command));
    }
    if (menu->actions().contains(m_pause)) {
        service_ptr_t<playback_control> pc;
        m_pause->setChecked(qvn::_standard_api_try_get_internal(pc) && pc->is_paused());
    }

    const auto it = m_slots.find(menu);
    if (it == m_slots.end()) return;
    const std::vector<MenuCommand> all = MenuCommandCatalog::collect();
    reportUnplaced(all);
    for (Slot& slot : it->second) {
        std::vector<std::pair<MenuCommand, MenuCommandDisplay>> shown;
        for (const MenuCommand& command : MenuCommandCatalog::inGroup(all, slot.group)) {
            MenuCommandDisplay d = MenuCommandCatalog::display(command);
            if (d.visible) shown.emplace_back(command, std::move(d));
        }
        // The same commands keep their actions, so an action found a moment
        // ago (automation, a keyboard user) stays valid.
        bool same = shown.size() == slot.actions.size();
        for (size_t i = 0; same && i < shown.size(); ++i)
            same = slot.commands[i].owner == shown[i].first.owner &&
                   slot.commands[i].index == shown[i].first.index;
        if (!same) {
            for (QAction* a : slot.actions) delete a;
            slot.actions.clear();
            slot.commands.clear();
            for (const auto& [command, display] : shown) {
                auto* action = new QAction(menu);
                connect(action, &QAction::triggered, this,
                        [command] { MenuCommandCatalog::execute(command); });
                menu->insertAction(slot.anchor, action);
                slot.actions.push_back(action);
                slot.commands.push_back(command);
            }
        }
        for (size_t i = 0; i < shown.size(); ++i) {
            const MenuCommandDisplay& d = shown[i].second;
            QAction* action = slot.actions[i];
            action->setText(d.text);
            action->setEnabled(!(d.flags & mainmenu_commands::flag_disabled));
            const bool checked =
                d.flags & (mainmenu_commands::flag_checked | mainmenu_commands::flag_radiochecked);
            action->setCheckable(checked);
            action->setChecked(checked);
        }
    }
}

void MainMenuBuilder::fillOrders(QMenu* orders) {
    orders->clear();
    qDeleteAll(orders->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
    service_ptr_t<playlist_manager> pm;
    if (!qvn::_standard_api_try_get_internal(pm)) {
        orders->addAction(tr("(no playlist manager)"))->setEnabled(false);
        return;
    }
    auto* group = new QActionGroup(orders);
    const size_t active = pm->playback_order_get_active();
    for (size_t i = 0; i < pm->playback_order_get_count(); ++i) {
        const char* name = pm->playback_order_get_name(i);
        QAction* a = orders->addAction(QString::fromUtf8(name ? name : ""));
        a->setCheckable(true);
        a->setChecked(i == active);
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [i] {
            service_ptr_t<playlist_manager> pm;
            if (qvn::_standard_api_try_get_internal(pm)) pm->playback_order_set_active(i);
        });
    }
}

void MainMenuBuilder::reportUnplaced(const std::vector<MenuCommand>& all) {
    // Menus are listed at every showing: say it once.
    static std::set<std::pair<mainmenu_commands*, uint32_t>> reported;
    for (const MenuCommand& c : all) {
        if (isKnownGroup(c.group) || !reported.insert({c.owner.get_ptr(), c.index}).second) continue;
        service_ptr_t<qvn::console> console;
        if (qvn::_standard_api_try_get_internal(console))
            console->print(QStringLiteral("Menu command \"%1\" left out: its menu group is unknown")
                               .arg(c.name)
                               .toUtf8()
                               .constData());
    }
}

QAction* MainMenuBuilder::find(const QString& path) {
    const QStringList parts = path.split(u'/');
    if (parts.size() < 2) return nullptr;
    QMenu* current = menu(parts.first());
    for (qsizetype i = 1; current && i < parts.size(); ++i) {
        emit current->aboutToShow();
        QAction* found = nullptr;
        for (QAction* a : current->actions())
            if (!a->isSeparator() && a->isVisible() && plain(a->text()) == parts[i]) {
                found = a;
                break;
            }
        if (!found) return nullptr;
        if (i == parts.size() - 1) return found;
        current = found->menu();
    }
    return nullptr;
}
