#include "Console.h"
#include "ConsoleWindow.h"
#include "MainMenuBuilder.h"
#include "MainWindow.h"
#include "QtPrinters.h"
#include "WindowTestHost.h"

#include "standard_commands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

// The fixture's command GUIDs: set*16 + index.
GUID fixtureCommand(unsigned set, unsigned index) {
    return {0xC0DE0000u + set * 16 + index, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
}

std::unique_ptr<MainWindow> makeWindow() {
    return std::make_unique<MainWindow>(std::vector<ComponentDescription>{}, Console::global());
}

QStringList itemsOf(MainWindow& window, const char* title) {
    QMenu* menu = window.menus().menu(QString::fromLatin1(title));
    EXPECT_TRUE(menu) << title;
    if (!menu) return {};
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts.append(a->text().remove(u'&'));
    return texts;
}

TEST(MainMenu, HasTheSixMenusWithTheHostsItems) {
    auto window = makeWindow();
    QStringList titles;
    for (QAction* a : window->menuBar()->actions()) titles.append(a->text().remove(u'&'));
    EXPECT_EQ(titles, (QStringList{"File", "Edit", "Playback", "Library", "View", "Help"}));
    EXPECT_EQ(itemsOf(*window, "File"),
              (QStringList{"Open...", "Add Files...", "Add Folder...", "Preferences...",
                           "Check for Plugin Updates...", "Fixture File Command", "Quit"}));
    EXPECT_EQ(itemsOf(*window, "Edit").mid(0, 7),
              (QStringList{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"}));
    EXPECT_EQ(itemsOf(*window, "Playback"),
              (QStringList{"Play", "Pause", "Stop", "Next", "Previous", "Random", "Playback Order"}));
    EXPECT_TRUE(itemsOf(*window, "View").startsWith(QStringLiteral("Console")));
    EXPECT_EQ(itemsOf(*window, "Help").last(), QStringLiteral("About quorvane"));
}

TEST(MainMenu, ComponentCommandsSortByPriorityThenNameWithTheirFlags) {
    auto window = makeWindow();
    // Hidden is not shown; "Yet First" asks for an earlier place than the rest.
    // After the standard items.
    EXPECT_EQ(itemsOf(*window, "Edit").mid(7),
              (QStringList{"Yet First", "alpha", "Checked", "Disabled", "Zeta"}));
    // Showing again rebuilds rather than adds.
    EXPECT_EQ(itemsOf(*window, "Edit").size(), 12);

    QAction* disabled = window->menus().find(QStringLiteral("Edit/Disabled"));
    QAction* checked = window->menus().find(QStringLiteral("Edit/Checked"));
    ASSERT_TRUE(disabled && checked);
    EXPECT_FALSE(disabled->isEnabled());
    EXPECT_TRUE(checked->isCheckable() && checked->isChecked());
    EXPECT_EQ(window->menus().find(QStringLiteral("Edit/Hidden")), nullptr);
    EXPECT_EQ(window->menus().find(QStringLiteral("Edit/Nope")), nullptr);
    EXPECT_EQ(window->menus().find(QStringLiteral("Nope/alpha")), nullptr);

    // A set that throws while listing and one with an unknown group are left
    // out, and said so once however often the menus are shown.
    for (const char* menu : {"File", "Edit", "Playback", "Library", "View", "Help"})
        EXPECT_FALSE(itemsOf(*window, menu).contains(QStringLiteral("Nowhere")));
    const QStringList lines = WindowTestHost::linesSince(0);
    EXPECT_EQ(lines.filter(QStringLiteral("threw while listing them: cannot count")).size(), 1);
    EXPECT_EQ(lines.filter(QStringLiteral("\"Nowhere\" left out")).size(), 1);
}

TEST(MainMenu, ChoosingAnItemRunsItsCommand) {
    auto window = makeWindow();
    const uint64_t mark = Console::global().mark();
    QAction* alpha = window->menus().find(QStringLiteral("Edit/alpha"));
    ASSERT_TRUE(alpha);
    alpha->trigger();
    EXPECT_EQ(WindowTestHost::linesSince(mark).filter(QStringLiteral("executed")),
              QStringList{"fixture ui: executed alpha"});

    QAction* orders = window->menus().find(QStringLiteral("Playback/Playback Order"));
    ASSERT_TRUE(orders && orders->menu());
    emit orders->menu()->aboutToShow();
    EXPECT_FALSE(orders->menu()->actions().isEmpty());
}

TEST(MainMenu, RunMainReachesTheHostsAndTheComponentsCommands) {
    auto window = makeWindow();
    const uint64_t mark = Console::global().mark();
    EXPECT_TRUE(standard_commands::run_main(fixtureCommand(0, 0)));
    EXPECT_TRUE(WindowTestHost::printedSince(mark, QStringLiteral("fixture ui: executed Zeta")));
    EXPECT_FALSE(standard_commands::run_main(fixtureCommand(0, 2)));  // hidden
    EXPECT_FALSE(standard_commands::run_main(fixtureCommand(0, 3)));  // disabled
    EXPECT_FALSE(standard_commands::run_main(fixtureCommand(7, 0)));  // nobody's
    EXPECT_FALSE(WindowTestHost::printedSince(mark, QStringLiteral("fixture ui: executed Disabled")));

    auto consoleShown = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<ConsoleWindow*>(w) && w->isVisible()) return true;
        return false;
    };
    EXPECT_FALSE(consoleShown());
    EXPECT_TRUE(standard_commands::run_main(standard_commands::guid_main_show_console));
    EXPECT_TRUE(consoleShown());

    // The host's commands go with the window that runs them.
    window.reset();
    EXPECT_FALSE(consoleShown());
    EXPECT_FALSE(standard_commands::run_main(standard_commands::guid_main_show_console));
    EXPECT_TRUE(standard_commands::run_main(fixtureCommand(0, 1)));
}

}  // namespace
