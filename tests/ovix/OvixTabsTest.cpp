// The Ovix tab strip and its controller against the host's playlist manager.

#include "Alert.h"
#include "KeyPosition.h"
#include "OvixTestHost.h"
#include "QovOvixTabs.h"
#include "QovOvixTabsView.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;
using platform::vk::LeftArrow;
using platform::vk::RightArrow;

class OvixTabs : public ::testing::Test {
protected:
    OvixTabs() {
        host.showPlaylist("A", {});
        host.showPlaylist("B", {});
        host.showPlaylist("C", {});
        host.playlists->set_active_playlist(0);
    }
    ~OvixTabs() override {
        controller.reset();
        window.reset();
        platform::Alert::setResponder(nullptr);
    }

    // The strip in a window beside a text field, as in the player.
    QovOvixTabsView* show(int width = 400) {
        controller = std::make_unique<QovOvixTabs>();
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        layout->addWidget(controller->view());
        field = new QLineEdit;
        layout->addWidget(field);
        window->resize(width, 80);
        window->show();
        return controller->tabsView();
    }
    // Left or Right pressed while `focus` has the keyboard; true when the strip
    // took it before `focus` saw it.
    bool arrow(int position, QWidget* focus, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QApplication::setActiveWindow(focus->window());
        focus->setFocus();
        Witness witness;
        focus->installEventFilter(&witness);
        auto event = platform::makeKeyEvent(QEvent::KeyPress, position, mods);
        QCoreApplication::sendEvent(focus, event.get());
        focus->removeEventFilter(&witness);
        return !witness.saw;
    }
    struct Witness : QObject {
        bool saw = false;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress) saw = true;
            return false;
        }
    };
    size_t active() { return host.playlists->get_active_playlist(); }
    QStringList names() {
        QStringList out;
        for (size_t i = 0; i < host.playlists->get_playlist_count(); ++i) {
            cvk::stringLite n;
            host.playlists->playlist_get_name(i, n);
            out.append(QString::fromUtf8(n.get_ptr()));
        }
        return out;
    }
    QPoint centerOf(QovOvixTabsView* v, int tab) { return v->tabRect(tab).center().toPoint(); }
    // As the window system delivers one: a click, then the second press as a double click.
    void doubleClick(QWidget* w, QPoint at) {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, at);
    }

    OvixTestHost host;
    std::unique_ptr<QovOvixTabs> controller;
    std::unique_ptr<QWidget> window;
    QLineEdit* field = nullptr;
};

TEST_F(OvixTabs, FollowsThePlaylistsAndTheirNames) {
    QovOvixTabsView* v = show();
    EXPECT_EQ(v->names(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(v->active(), 0);
    host.playlists->playlist_rename(1, "Bee", SIZE_MAX);
    host.playlists->set_active_playlist(2);
    controller->refresh();
    EXPECT_EQ(v->names(), (QStringList{"A", "Bee", "C"}));
    EXPECT_EQ(v->active(), 2);
    host.playlists->set_active_playlist(SIZE_MAX);
    ASSERT_TRUE(spinUntil([&] { return v->active() == -1; }, 2s));  // by the 0.3 s poll
}

TEST_F(OvixTabs, ClicksActivateDoubleClicksCreateAndRename) {
    QovOvixTabsView* v = show();
    QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, centerOf(v, 2));
    EXPECT_EQ(active(), 2u);
    EXPECT_EQ(v->active(), 2);

    doubleClick(v, QPoint(380, 14));
    EXPECT_EQ(names(), (QStringList{"A", "B", "C", "New Playlist"}));
    EXPECT_EQ(active(), 3u);

    QString asked;
    platform::Alert::setResponder([&](const platform::Alert& alert) {
        asked = alert.messageText();
        auto* text = qobject_cast<QLineEdit*>(alert.accessoryView());
        EXPECT_EQ(text->text(), QStringLiteral("B"));
        text->setText(QStringLiteral("Renamed"));
        return platform::Alert::kFirstButton;
    });
    doubleClick(v, centerOf(v, 1));
    ASSERT_TRUE(spinUntil([&] { return names()[1] == QStringLiteral("Renamed"); }));
    EXPECT_EQ(asked, QStringLiteral("Rename playlist"));
    EXPECT_EQ(active(), 1u);  // the first click of the two activated it
}

TEST_F(OvixTabs, RenameCancelledOrEmptyChangesNothing) {
    QovOvixTabsView* v = show();
    for (auto [answer, text] :
         {std::pair{platform::Alert::kSecondButton, "Other"}, std::pair{platform::Alert::kFirstButton, ""}}) {
        platform::Alert::setResponder([answer, text](const platform::Alert& alert) {
            qobject_cast<QLineEdit*>(alert.accessoryView())->setText(QString::fromUtf8(text));
            return answer;
        });
        doubleClick(v, centerOf(v, 0));
        spinFor(30ms);
        EXPECT_EQ(names(), (QStringList{"A", "B", "C"}));
    }
}

TEST_F(OvixTabs, TheMenuOffersWhatFitsWhereItWasOpened) {
    QovOvixTabsView* v = show();
    auto titles = [](QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions()) out.append(a->text());
        delete menu;
        return out;
    };
    EXPECT_EQ(titles(v->menuFor(QPointF(380, 14))), QStringList{"New Playlist"});
    EXPECT_EQ(titles(v->menuFor(centerOf(v, 1))), (QStringList{"New Playlist", "Rename\u2026", "Remove"}));

    // Removing the active playlist makes its neighbour active.
    host.playlists->set_active_playlist(2);
    controller->refresh();
    delete v->menuFor(centerOf(v, 2));
    v->removePlaylist();
    EXPECT_EQ(names(), (QStringList{"A", "B"}));
    EXPECT_EQ(active(), 1u);
}

TEST_F(OvixTabs, ArrowKeysCycleThePlaylistsFromAnywhereInTheWindow) {
    QovOvixTabsView* v = show();
    QWidget* elsewhere = window.get();
    EXPECT_TRUE(arrow(LeftArrow, elsewhere));
    EXPECT_EQ(active(), 2u);
    EXPECT_EQ(v->active(), 2);
    EXPECT_TRUE(arrow(RightArrow, elsewhere));
    EXPECT_EQ(active(), 0u);
    EXPECT_TRUE(arrow(RightArrow, elsewhere));
    EXPECT_EQ(active(), 1u);
    host.playlists->set_active_playlist(SIZE_MAX);
    EXPECT_TRUE(arrow(LeftArrow, elsewhere));
    EXPECT_EQ(active(), 0u);

    // Text being edited, or a modifier held: the keys are someone else's.
    EXPECT_FALSE(arrow(RightArrow, field));
    EXPECT_FALSE(arrow(RightArrow, elsewhere, Qt::ShiftModifier));
    EXPECT_FALSE(arrow(RightArrow, elsewhere, Qt::ControlModifier));
    EXPECT_EQ(active(), 0u);

    // No playlists: the keys are still taken, and change nothing.
    while (host.playlists->get_playlist_count() > 0) host.playlists->remove_playlist(0);
    EXPECT_TRUE(arrow(RightArrow, elsewhere));
    EXPECT_EQ(active(), SIZE_MAX);
}

TEST_F(OvixTabs, AnotherWindowKeepsItsArrows) {
    show();
    QWidget other;
    other.show();
    EXPECT_FALSE(arrow(RightArrow, &other));
    EXPECT_EQ(active(), 0u);
}

TEST_F(OvixTabs, OverflowingTabsScrollByWheelAndArrowsAndRevealTheActiveOne) {
    for (int i = 0; i < 6; ++i) host.showPlaylist("A rather long playlist name", {});
    host.playlists->set_active_playlist(0);
    QovOvixTabsView* v = show(300);
    ASSERT_TRUE(v->geometry().overflows());
    const double most = v->geometry().contentWidth() - v->geometry().visibleWidth();

    QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, QPoint(v->width() - 9, 14));  // ▶
    EXPECT_GT(v->geometry().scroll(), 0);
    QWheelEvent wheel(QPointF(50, 14), v->mapToGlobal(QPointF(50, 14)), QPoint(), QPoint(0, -120 * 100),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(v, &wheel);
    EXPECT_DOUBLE_EQ(v->geometry().scroll(), most);

    host.playlists->set_active_playlist(4);
    controller->refresh();
    EXPECT_LT(v->geometry().scroll(), most);
    EXPECT_TRUE(QRectF(0, 0, v->geometry().visibleWidth(), 28).contains(v->tabRect(4)));
    host.playlists->set_active_playlist(0);
    controller->refresh();
    EXPECT_DOUBLE_EQ(v->geometry().scroll(), 0);
}

TEST_F(OvixTabs, ScreenReadersSeeEachTabAndWhichIsActive) {
    for (int i = 0; i < 6; ++i) host.showPlaylist("A rather long playlist name", {});
    host.playlists->set_active_playlist(1);
    QovOvixTabsView* v = show(300);
    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(v);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->role(), QAccessible::PageTabList);
    ASSERT_EQ(strip->childCount(), 9 + 2);  // the arrows too: the tabs overflow
    QAccessibleInterface* b = strip->child(1);
    EXPECT_EQ(b->role(), QAccessible::PageTab);
    EXPECT_EQ(b->text(QAccessible::Name), QStringLiteral("B"));
    EXPECT_TRUE(b->state().selected);
    EXPECT_FALSE(strip->child(0)->state().selected);
    EXPECT_EQ(b->rect(),
              QRect(v->mapToGlobal(v->tabRect(1).topLeft().toPoint()), v->tabRect(1).size().toSize()));
    EXPECT_EQ(strip->indexOfChild(b), 1);
    EXPECT_EQ(strip->childAt(b->rect().center().x(), b->rect().center().y()), b);
    EXPECT_TRUE(strip->child(8)->state().offscreen);  // scrolled out of sight
    EXPECT_EQ(strip->child(10)->text(QAccessible::Name), QStringLiteral("\u25B6"));

    strip->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(active(), 2u);
    host.playlists->remove_playlist(8);
    controller->refresh();
    EXPECT_EQ(strip->childCount(), 8 + 2);
}

}  // namespace
