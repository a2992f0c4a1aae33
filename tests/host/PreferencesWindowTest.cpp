#include "Console.h"
#include "MediaLibrary.h"
#include "MainWindow.h"
#include "PreferencesWindow.h"
#include "QtPrinters.h"
#include "WindowTestHost.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TEST(PreferencesWindow, PlacesEveryPageUnderItsParent) {
    PreferencesWindow prefs(Console::global());
    auto* tree = prefs.findChild<QTreeWidget*>();
    ASSERT_TRUE(tree);
    QStringList top;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) top.append(tree->topLevelItem(i)->text(0));
    EXPECT_EQ(top, (QStringList{"Display", "Media Library"}));
    // The fixture's child page comes before its parent in the service list.
    EXPECT_EQ(prefs.pageNames(), (QStringList{"Display", "Classic UI", "Fixture Broken Page", "Fixture Page",
                                              "Fixture Child", "Waveform Seekbar", "Media Library"}));
    EXPECT_FALSE(prefs.showPage(QStringLiteral("No Such Page")));
    EXPECT_TRUE(prefs.currentPageName().isEmpty());
}

TEST(PreferencesWindow, ShowsOnePageAtATimeAndReleasesTheOneLeft) {
    PreferencesWindow prefs(Console::global());
    prefs.show();
    ASSERT_TRUE(prefs.showPage(QStringLiteral("Fixture Page")));
    EXPECT_EQ(prefs.currentPageName(), QStringLiteral("Fixture Page"));
    QPointer<QWidget> first = prefs.pageWidget();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->objectName(), QStringLiteral("fixturePage"));

    uint64_t mark = Console::global().mark();
    ASSERT_TRUE(prefs.showPage(QStringLiteral("Fixture Child")));
    EXPECT_FALSE(first);
    EXPECT_TRUE(
        WindowTestHost::printedSince(mark, QStringLiteral("fixture ui: page destroyed: Fixture Page")));

    ASSERT_TRUE(prefs.showPage(QStringLiteral("Waveform Seekbar")));
    ASSERT_TRUE(prefs.pageWidget());
    EXPECT_TRUE(prefs.pageWidget()->isVisible());

    mark = Console::global().mark();
    ASSERT_TRUE(prefs.showPage(QStringLiteral("Fixture Broken Page")));
    auto* message = qobject_cast<QLabel*>(prefs.pageWidget());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->objectName(), QStringLiteral("pageMessage"));
    EXPECT_TRUE(message->text().contains(QStringLiteral("page refuses")));
    EXPECT_FALSE(WindowTestHost::linesSince(mark).filter(QStringLiteral("Fixture Broken Page")).isEmpty());

    ASSERT_TRUE(prefs.showPage(QStringLiteral("Fixture Page")));
    mark = Console::global().mark();
    prefs.close();
    EXPECT_TRUE(
        WindowTestHost::printedSince(mark, QStringLiteral("fixture ui: page destroyed: Fixture Page")));
    EXPECT_TRUE(prefs.currentPageName().isEmpty());
}

TEST(PreferencesWindow, TheWindowOpensItOnAPageAndReleasesThatPageWithItsElements) {
    MainWindow window({}, Console::global());
    EXPECT_TRUE(window.showPreferences());
    ASSERT_TRUE(window.preferencesWindow());
    EXPECT_EQ(window.preferencesWindow()->currentPageName(), QStringLiteral("Display"));
    EXPECT_TRUE(window.showPreferences(QStringLiteral("Fixture Child")));
    EXPECT_FALSE(window.showPreferences(QStringLiteral("Nope")));
    const uint64_t mark = Console::global().mark();
    window.releaseElements();
    EXPECT_TRUE(
        WindowTestHost::printedSince(mark, QStringLiteral("fixture ui: page destroyed: Fixture Child")));
}

TEST(LibraryFolders, PageEditsTheLibraryFolders) {
    auto& library = library::MediaLibrary::instance();
    library.setFolders(
        {QStringLiteral("/music/b"), QStringLiteral("/music/a/../a/"), QStringLiteral("/music/b")});
    EXPECT_EQ(library.folders(), (QStringList{"/music/b", "/music/a"}));

    PreferencesWindow prefs(Console::global());
    ASSERT_TRUE(prefs.showPage(QStringLiteral("Media Library")));
    auto* list = prefs.pageWidget()->findChild<QListWidget*>(QStringLiteral("libraryFolders"));
    auto* remove = prefs.pageWidget()->findChild<QPushButton*>(QStringLiteral("removeFolders"));
    ASSERT_TRUE(list && remove);
    ASSERT_EQ(list->count(), 2);
    EXPECT_FALSE(remove->isEnabled());
    list->item(0)->setSelected(true);
    ASSERT_TRUE(remove->isEnabled());
    remove->click();
    EXPECT_EQ(library.folders(), QStringList{"/music/a"});
    EXPECT_EQ(list->count(), 1);
    library.setFolders({});
}

}  // namespace
