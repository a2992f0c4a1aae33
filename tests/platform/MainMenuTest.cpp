#include "MainMenu.h"

#include "TestApplication.h"

#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <memory>

using platform::MainMenu;

TEST(MainMenuBar, IsTheHostsUntilItGoesAndUpdatingMakesAMenusLazyItems) {
    testApplication();
    auto bar = std::make_unique<QMenuBar>();
    MainMenu::setBar(bar.get());
    EXPECT_EQ(MainMenu::bar(), bar.get());

    QMenu* lazy = bar->addMenu(QStringLiteral("Playback"));
    QObject::connect(lazy, &QMenu::aboutToShow, lazy, [lazy] {
        lazy->clear();
        lazy->addAction(QStringLiteral("Made on showing"));
    });
    MainMenu::update(lazy);
    EXPECT_EQ(lazy->actions().size(), 1);

    bar.reset();
    EXPECT_EQ(MainMenu::bar(), nullptr);
}
