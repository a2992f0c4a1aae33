// The classic-tabs element (controller and strip), playlist locks and the
// recently closed list, against the host's playlists.

#include "Alert.h"
#include "ChromeHost.h"
#include "ClassicDrag.h"
#include "ClassicLock.h"
#include "ClassicSettings.h"
#include "ClosedTracker.h"
#include "KeyPosition.h"
#include "NotificationCenter.h"
#include "Printers.h"
#include "QovClassicTabs.h"
#include "QovClassicTabsView.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

namespace vk = platform::vk;
using Names = std::vector<std::string>;

class TabsElement : public ::testing::Test {
protected:
    TabsElement() { startClosedTracker(); }
    ~TabsElement() override {
        platform::Alert::setResponder({});
        controller.reset();
    }

    // The element in a window of its own, with a text field beside it.
    QovClassicTabsView* show(int width = 400) {
        controller = std::make_unique<QovClassicTabs>();
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(controller->view());
        field = new QLineEdit;
        layout->addWidget(field);
        window.resize(width, 60);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return controller->tabs();
    }
    QovClassicTabsView* strip() { return controller->tabs(); }
    QPoint centre(int tab) {
        const QRectF r = strip()->strip().rectOf(tab);
        return r.translated(-strip()->strip().scroll(), 0).center().toPoint();
    }
    size_t active() { return host.playlists->get_active_playlist(); }

    // A key typed at the strip's window, as the keyboard sends it to the
    // focus widget; true when the strip took it (the widget never saw it).
    bool key(int position, Qt::KeyboardModifiers modifiers = {}, QEvent::Type type = QEvent::KeyPress) {
        struct Seen : QObject {
            bool eventFilter(QObject*, QEvent* e) override {
                seen |= e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride;
                return false;
            }
            bool seen = false;
        } seen;
        QWidget* target = window.focusWidget() ? window.focusWidget() : strip();
        target->installEventFilter(&seen);
        auto event = platform::makeKeyEvent(type, position, modifiers);
        if (type == QEvent::ShortcutOverride) event->ignore();
        QApplication::sendEvent(target, event.get());
        target->removeEventFilter(&seen);
        return !seen.seen;
    }
    // Taken ahead of any menu shortcut of the window.
    bool shortcut(int position, Qt::KeyboardModifiers modifiers) {
        return key(position, modifiers, QEvent::ShortcutOverride);
    }

    ChromeHost host;
    QWidget window;
    QLineEdit* field = nullptr;
    std::unique_ptr<QovClassicTabs> controller;
};

TEST_F(TabsElement, FollowsThePlaylistsAndRedrawsOnlyWhatChanged) {
    host.addPlaylist("Road Trip");
    host.addPlaylist("Evening");
    host.playlists->set_active_playlist(1);
    show();
    EXPECT_EQ(strip()->names(), (QStringList{"Road Trip", "Evening"}));
    EXPECT_EQ(strip()->active(), 1);
    EXPECT_EQ(strip()->locked(), (std::vector<bool>{false, false}));

    struct Paints : QObject {
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::Paint;
            return false;
        }
        int count = 0;
    } paints;
    QTest::qWait(2 * QovClassicTabs::kPollMs);
    strip()->installEventFilter(&paints);
    QTest::qWait(4 * QovClassicTabs::kPollMs);
    EXPECT_EQ(paints.count, 0);

    host.playlists->playlist_rename(0, "Road", SIZE_MAX);
    host.addPlaylist("Night");
    toggleLock(2, false);
    controller->refresh();
    EXPECT_EQ(strip()->names(), (QStringList{"Road", "Evening", "Night"}));
    EXPECT_EQ(strip()->locked(), (std::vector<bool>{false, false, true}));
    QTest::qWait(50);
    EXPECT_GT(paints.count, 0);

    // Names that are no UTF-8 show empty, not garbled.
    host.playlists->playlist_rename(1, "\xC3\x28", SIZE_MAX);
    controller->refresh();
    EXPECT_EQ(strip()->names()[1], QString());
}

TEST_F(TabsElement, ClicksSwitchCreateRenameAndClose) {
    host.addPlaylist("One");
    host.addPlaylist("Two");
    cfg_tabClose.set(1);
    show();
    QTest::mouseClick(strip(), Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(active(), 1u);
    EXPECT_EQ(strip()->active(), 1);

    // Double click on empty strip space: a new playlist, active.
    QTest::mouseDClick(strip(), Qt::LeftButton, {}, QPoint(380, 12));
    EXPECT_EQ(host.playlistNames(), (Names{"One", "Two", "New Playlist"}));
    EXPECT_EQ(active(), 2u);

    // Double click on a tab: its rename dialog; an empty name changes nothing.
    QString offered;
    platform::Alert::setResponder([&](const platform::Alert& alert) {
        auto* field = qobject_cast<QLineEdit*>(alert.accessoryView());
        offered = field->text();
        field->setText(QStringLiteral("Renamed"));
        return platform::Alert::kFirstButton;
    });
    QTest::mouseDClick(strip(), Qt::LeftButton, {}, centre(0));
    QTest::qWait(20);  // a sheet answers later
    EXPECT_EQ(offered, QStringLiteral("One"));
    EXPECT_EQ(host.playlistNames()[0], "Renamed");
    platform::Alert::setResponder([](const platform::Alert& alert) {
        qobject_cast<QLineEdit*>(alert.accessoryView())->setText(QString());
        return platform::Alert::kFirstButton;
    });
    QTest::mouseDClick(strip(), Qt::LeftButton, {}, centre(0));
    QTest::qWait(20);
    EXPECT_EQ(host.playlistNames()[0], "Renamed");

    // The close box closes, whether or not it shows, but never a locked tab.
    controller->refresh();
    toggleLock(1, false);
    controller->refresh();
    const QRectF box = strip()->strip().closeRectOf(1);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, box.center().toPoint());
    EXPECT_EQ(host.playlistNames().size(), 3u);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, strip()->strip().closeRectOf(2).center().toPoint());
    EXPECT_EQ(host.playlistNames(), (Names{"Renamed", "Two"}));
}

TEST_F(TabsElement, DraggingATabReordersThePlaylists) {
    host.addPlaylist("A");
    host.addPlaylist("B");
    host.addPlaylist("C");
    show();
    const QPoint from = centre(0);
    QTest::mousePress(strip(), Qt::LeftButton, {}, from);
    QTest::mouseMove(strip(), from + QPoint(3, 0));  // not yet a move
    QTest::mouseMove(strip(), centre(2) + QPoint(20, 0));
    EXPECT_EQ(strip()->strip().insertIndexAt(centre(2).x() + 20), 3);
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, centre(2) + QPoint(20, 0));
    EXPECT_EQ(host.playlistNames(), (Names{"B", "C", "A"}));

    // Back onto its own place: nothing moves.
    controller->refresh();
    QTest::mousePress(strip(), Qt::LeftButton, {}, centre(1));
    QTest::mouseMove(strip(), centre(1) + QPoint(10, 0));
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, centre(1) + QPoint(10, 0));
    EXPECT_EQ(host.playlistNames(), (Names{"B", "C", "A"}));
}

TEST_F(TabsElement, OverflowingTabsScrollByTheArrowsWhichSelectNothing) {
    for (int i = 0; i < 1000; ++i) host.addPlaylist(("Playlist " + std::to_string(i)).c_str());
    host.playlists->set_active_playlist(0);
    show(300);
    const TabStripLayout& s = strip()->strip();
    ASSERT_TRUE(s.overflows());
    const QPoint right(int(s.visibleWidth() + 27), 12), left(int(s.visibleWidth() + 9), 12);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, right);
    EXPECT_EQ(s.scroll(), s.rectOf(1).x() - 2);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, right);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, left);
    EXPECT_EQ(s.scroll(), s.rectOf(1).x() - 2);
    EXPECT_EQ(active(), 0u);

    // The last playlist activated elsewhere comes into view.
    host.playlists->set_active_playlist(999);
    controller->refresh();
    EXPECT_EQ(s.scroll(), s.rectOf(999).right() - s.visibleWidth() + 2);
    EXPECT_EQ(strip()->active(), 999);
}

TEST_F(TabsElement, TheMenuOffersWhatTheTabAllows) {
    show();
    auto titles = [](QMenu& menu) {
        QStringList out;
        for (QAction* a : menu.actions()) out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    auto empty = strip()->menuAt({200, 12});
    ASSERT_TRUE(empty);
    EXPECT_EQ(titles(*empty), (QStringList{"New Playlist", "-", "Recently Closed"}));
    EXPECT_FALSE(empty->actions().last()->isEnabled());

    host.addPlaylist("Kept", {tagged("/music/a.flac")});
    host.addPlaylist("Rock & Roll", {tagged("/music/b.flac"), tagged("/music/c.flac")});
    host.playlists->remove_playlist(1);
    controller->refresh();
    toggleLock(0, false);
    controller->refresh();
    auto onTab = strip()->menuAt(centre(0));
    EXPECT_EQ(titles(*onTab), (QStringList{"New Playlist", "Rename\u2026", "Remove", "-", "Unlock Playlist",
                                           "-", "Recently Closed"}));
    EXPECT_FALSE(onTab->actions()[2]->isEnabled());
    QMenu* closed = onTab->actions().last()->menu();
    ASSERT_EQ(closed->actions().size(), 1);
    // Shown whole: a menu would take a single "&" for a shortcut mark.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(closed)->child(0)->text(QAccessible::Name),
              QStringLiteral("Rock & Roll  (2)"));

    // Unlock from the menu, then the menu offers to lock again.
    onTab->actions()[4]->trigger();
    controller->refresh();
    EXPECT_EQ(titles(*strip()->menuAt(centre(0)))[4], QStringLiteral("Lock Playlist"));
    // No menu over the arrows.
    for (int i = 0; i < 40; ++i) host.addPlaylist("More");
    controller->refresh();
    EXPECT_FALSE(strip()->menuAt({395, 12}));
}

QMimeData* files(std::initializer_list<const char*> paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const char* p : paths) urls.append(QUrl::fromLocalFile(QString::fromUtf8(p)));
    data->setUrls(urls);
    return data;
}

// A drag over the strip to `at` and a drop there, as the window system
// delivers them; false when refused.
bool drop(QWidget* strip, QPoint at, const QMimeData& data) {
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(strip, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(strip, &drop);
    return drop.isAccepted();
}

TEST_F(TabsElement, DroppedFilesGoToTheirTabOrToANewActivePlaylist) {
    host.addPlaylist("First");
    host.addPlaylist("Second");
    host.playlists->set_active_playlist(0);
    show();

    const std::unique_ptr<QMimeData> two(files({"/music/a.flac", "/music/b.flac"}));
    ASSERT_TRUE(drop(strip(), centre(1), *two));
    EXPECT_EQ(host.incoming->requests.back().flags, 6u);
    QTest::qWait(20);
    EXPECT_EQ(host.paths(1), (Names{"file:///music/a.flac", "file:///music/b.flac"}));
    EXPECT_EQ(active(), 0u);  // a drop on a tab does not switch to it
    EXPECT_EQ(strip()->dropIndex(), QovClassicTabsView::kNoDrop);

    ASSERT_TRUE(drop(strip(), QPoint(380, 12), *two));
    QTest::qWait(20);
    EXPECT_EQ(host.playlistNames(), (Names{"First", "Second", "New Playlist"}));
    EXPECT_EQ(active(), 2u);
    EXPECT_EQ(host.paths(2).size(), 2u);

    // Dropped on a playlist that is gone by the time the files are read: a new one.
    ASSERT_TRUE(drop(strip(), centre(2), *two));
    host.playlists->remove_playlist(2);
    QTest::qWait(20);
    EXPECT_EQ(host.playlistNames(), (Names{"First", "Second", "New Playlist"}));
    EXPECT_EQ(host.paths(2).size(), 2u);

    // A refusing player leaves everything as it was.
    host.playlists->refuseCreate = true;
    ASSERT_TRUE(drop(strip(), QPoint(390, 12), *two));
    QTest::qWait(20);
    EXPECT_EQ(host.playlistNames().size(), 3u);

    QMimeData text;
    text.setText(QStringLiteral("no files"));
    EXPECT_FALSE(drop(strip(), centre(0), text));
}

TEST_F(TabsElement, DraggedTracksFromAClassicViewAndTheSpringLoadedSwitch) {
    host.addPlaylist("Source", {tagged("/music/a.flac"), tagged("/music/b.flac")});
    host.addPlaylist("Target");
    host.addPlaylist("Third");
    host.playlists->set_active_playlist(0);
    show();

    QMimeData rows;
    rows.setData(kViewInstanceType, "0");
    // Rows of one of the player's own views: the active playlist's selection.
    EXPECT_FALSE(drop(strip(), centre(1), rows));
    host.playlists->playlist_set_selection(0, bit_array_true(), bit_array_one(1));
    ASSERT_TRUE(drop(strip(), centre(1), rows));
    EXPECT_EQ(host.paths(1), (Names{"file:///music/b.flac"}));

    QMimeData library;
    setDraggedRows(library, {kLibraryRows});
    g_drag.begin(SIZE_MAX, {}, {tagged("/music/x.flac")});
    ASSERT_TRUE(drop(strip(), centre(2), library));
    g_drag.reset();
    EXPECT_EQ(host.paths(2), (Names{"file:///music/x.flac"}));

    // Hovering a drag over another tab opens it after a while; moving on
    // starts the wait again.
    QElapsedTimer hovering;
    hovering.start();
    QDragEnterEvent enter(centre(1), Qt::CopyAction, &rows, Qt::LeftButton, {});
    QApplication::sendEvent(strip(), &enter);
    EXPECT_EQ(strip()->dropIndex(), 1);
    QTest::qWait(QovClassicTabsView::kSpringLoadMs / 2);
    const bool moved = hovering.elapsed() < QovClassicTabsView::kSpringLoadMs;
    QDragMoveEvent move(centre(2), Qt::CopyAction, &rows, Qt::LeftButton, {});
    QApplication::sendEvent(strip(), &move);
    hovering.restart();
    QTest::qWait(QovClassicTabsView::kSpringLoadMs / 2);
    if (moved && hovering.elapsed() < QovClassicTabsView::kSpringLoadMs) {
        EXPECT_EQ(active(), 0u);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return active() == 2u; }, 5000));
    QDragLeaveEvent leave;
    QApplication::sendEvent(strip(), &leave);
    EXPECT_EQ(strip()->dropIndex(), QovClassicTabsView::kNoDrop);
}

TEST_F(TabsElement, ShortcutsActByKeyPositionWithExactModifiers) {
    for (const char* n : {"One", "Two", "Three"}) host.addPlaylist(n);
    host.playlists->set_active_playlist(0);
    show();
    strip()->setFocus();
    const auto cmd = Qt::ControlModifier;  // Command, as Qt names it

    EXPECT_TRUE(shortcut(vk::Key9, cmd));  // taken ahead of the menus
    EXPECT_TRUE(key(vk::Key9, cmd));
    EXPECT_EQ(active(), 2u);
    EXPECT_TRUE(key(vk::Key1, cmd));
    EXPECT_EQ(active(), 0u);
    EXPECT_TRUE(key(vk::Key5, cmd));
    EXPECT_EQ(active(), 2u);
    EXPECT_FALSE(shortcut(vk::Key1, cmd | Qt::ShiftModifier));
    EXPECT_FALSE(key(vk::Key1, cmd | Qt::ShiftModifier));
    EXPECT_EQ(active(), 2u);

    EXPECT_TRUE(key(vk::RightArrow));
    EXPECT_EQ(active(), 0u);  // round the end
    EXPECT_TRUE(key(vk::LeftArrow));
    EXPECT_EQ(active(), 2u);
    EXPECT_FALSE(key(vk::UpArrow));

    EXPECT_TRUE(key(vk::T, cmd));
    EXPECT_EQ(host.playlistNames().back(), "New Playlist");
    EXPECT_EQ(active(), 3u);
    EXPECT_TRUE(key(vk::W, cmd | Qt::AltModifier));
    EXPECT_EQ(host.playlistNames().size(), 3u);
    EXPECT_EQ(active(), 2u);
    EXPECT_TRUE(key(vk::T, cmd | Qt::ShiftModifier));
    EXPECT_EQ(host.playlistNames().back(), "New Playlist");

    // Nothing plays: Command-J beeps. A locked playlist refuses to close.
    EXPECT_TRUE(key(vk::J, cmd));
    EXPECT_EQ(host.beeps, 1);
    toggleLock(0, false);
    host.playlists->set_active_playlist(0);
    EXPECT_TRUE(key(vk::W, cmd | Qt::AltModifier));
    EXPECT_EQ(host.beeps, 2);
    EXPECT_EQ(host.playlistNames().size(), 4u);

    // Typing in a text field never switches playlists.
    field->setFocus();
    EXPECT_FALSE(shortcut(vk::Key2, cmd));
    EXPECT_FALSE(key(vk::Key2, cmd));
    EXPECT_FALSE(key(vk::RightArrow));
    EXPECT_EQ(active(), 0u);
}

TEST_F(TabsElement, CommandJShowsThePlayingItemInItsPlaylist) {
    host.addPlaylist("Other");
    host.addPlaylist("Playing", {tagged("/music/a.flac"), tagged("/music/b.flac"), tagged("/music/c.flac")});
    host.playlists->set_active_playlist(0);
    host.playlists->playlist_set_selection(1, bit_array_true(), bit_array_true());
    host.playlists->setPlayingLocation(1, 2);
    show();
    strip()->setFocus();
    EXPECT_TRUE(key(vk::J, Qt::ControlModifier));
    EXPECT_EQ(active(), 1u);
    EXPECT_EQ(host.playlists->playlist_get_focus_item(1), 2u);
    const bit_array_bittable selected = host.playlists->playlist_get_selection_mask(1);
    EXPECT_EQ((std::vector<bool>{selected.get(0), selected.get(1), selected.get(2)}),
              (std::vector<bool>{false, false, true}));
    EXPECT_EQ(host.beeps, 0);
}

TEST_F(TabsElement, TheStripReadsAsTabsWithLocksCloseBoxesAndArrows) {
    cfg_tabClose.set(1);
    host.addPlaylist("Road Trip");
    host.addPlaylist("Locked One");
    host.playlists->set_active_playlist(0);
    toggleLock(1, false);
    show();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(strip());
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->role(), QAccessible::PageTabList);
    ASSERT_EQ(tree->childCount(), 2);
    QAccessibleInterface* first = tree->child(0);
    EXPECT_EQ(first->role(), QAccessible::PageTab);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Road Trip"));
    EXPECT_TRUE(first->state().selected);
    EXPECT_EQ(first->rect(),
              QRect(strip()->mapToGlobal(QPoint(2, 3)), strip()->strip().rectOf(0).size().toSize()));
    ASSERT_EQ(first->childCount(), 1);
    EXPECT_EQ(first->child(0)->text(QAccessible::Name), QStringLiteral("Close"));
    EXPECT_TRUE(first->child(0)->state().invisible);  // shown on hover only
    QAccessibleInterface* locked = tree->child(1);
    EXPECT_FALSE(locked->state().selected);
    ASSERT_EQ(locked->childCount(), 1);  // a locked tab has no close box
    EXPECT_EQ(locked->child(0)->text(QAccessible::Name), QStringLiteral("Locked"));
    EXPECT_EQ(locked->child(0)->parent(), locked);
    EXPECT_EQ(tree->indexOfChild(locked), 1);

    for (int i = 0; i < 20; ++i) host.addPlaylist("Filler");
    controller->refresh();
    ASSERT_EQ(tree->childCount(), 24);
    EXPECT_EQ(tree->child(22)->text(QAccessible::Name), QStringLiteral("Scroll Tabs Left"));
    EXPECT_EQ(tree->child(23)->role(), QAccessible::Button);
    EXPECT_TRUE(tree->child(21)->state().invisible);  // scrolled out of sight
    EXPECT_EQ(tree->childAt(strip()->mapToGlobal(centre(1)).x(), strip()->mapToGlobal(centre(1)).y()),
              locked);
}

// --- Locks ---

class Locks : public ::testing::Test {
protected:
    ChromeHost host;
};

TEST_F(Locks, ALockRefusesChangesButRenamingAndSurvivesAsAMarker) {
    const size_t p = host.addPlaylist("Kept", {tagged("/music/a.flac"), tagged("/music/b.flac")});
    toggleLock(p, false);
    EXPECT_TRUE(host.playlists->playlist_lock_is_present(p));
    EXPECT_TRUE(isLockedByUs(p));
    std::vector<uint8_t> marker;
    ASSERT_TRUE(host.playlists->playlist_get_property(p, kLockProperty, marker));
    EXPECT_EQ(marker, std::vector<uint8_t>{0x01});
    EXPECT_EQ(host.playlists->playlist_lock_get_filter_mask(p), 0x27u);
    cvk::stringLite name;
    host.playlists->playlist_lock_query_name(p, name);
    EXPECT_EQ(name.str(), "Locked (Classic UI)");

    EXPECT_EQ(host.playlists->playlist_add_items(p, {tagged("/music/c.flac")}, bit_array_false()), SIZE_MAX);
    EXPECT_FALSE(host.playlists->playlist_remove_items(p, bit_array_one(0)));
    const size_t order[] = {1, 0};
    EXPECT_FALSE(host.playlists->playlist_reorder_items(p, order, 2));
    EXPECT_FALSE(host.playlists->remove_playlist(p));
    EXPECT_TRUE(host.playlists->playlist_replace_item(p, 0, tagged("/music/z.flac")));
    EXPECT_TRUE(host.playlists->playlist_rename(p, "Renamed", SIZE_MAX));
    EXPECT_EQ(host.paths(p), (Names{"file:///music/z.flac", "file:///music/b.flac"}));

    // Locking twice does nothing more.
    toggleLock(p, false);
    EXPECT_EQ(g_locks.size(), 1u);

    toggleLock(p, true);
    EXPECT_FALSE(host.playlists->playlist_lock_is_present(p));
    EXPECT_FALSE(isLockedByUs(p));
    EXPECT_TRUE(g_locks.empty());
    EXPECT_TRUE(host.playlists->remove_playlist(p));
}

TEST_F(Locks, AnotherComponentsLockStaysButOurMarkerGoes) {
    const size_t p = host.addPlaylist("Theirs");
    // Another component's lock: the same answers as ours, but not ours.
    ASSERT_TRUE(host.playlists->playlist_lock_install(p, service_new<RefusingLock>(0xFF, "Other")));
    // Locking over it: the player refuses, the user hears it, nothing is kept.
    toggleLock(p, false);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_FALSE(isLockedByUs(p));
    EXPECT_TRUE(g_locks.empty());

    const uint8_t marker = 1;
    host.playlists->playlist_set_property(p, kLockProperty, &marker, 1);
    toggleLock(p, true);
    EXPECT_TRUE(host.playlists->playlist_lock_is_present(p));
    EXPECT_FALSE(isLockedByUs(p));
}

TEST_F(Locks, StartUpLocksEveryMarkedPlaylistThatHasNoLock) {
    const size_t plain = host.addPlaylist("Plain");
    const size_t marked = host.addPlaylist("Marked");
    const size_t newer = host.addPlaylist("Newer");
    const size_t theirs = host.addPlaylist("Theirs");
    const uint8_t one = 1;
    const uint8_t future[] = {0x02, 0xFF, 0x00, 0x7E};
    host.playlists->playlist_set_property(marked, kLockProperty, &one, 1);
    // Written by a newer version, or damaged: the marker is there, so it counts.
    host.playlists->playlist_set_property(newer, kLockProperty, future, sizeof future);
    host.playlists->playlist_set_property(theirs, kLockProperty, &one, 1);
    const service_ptr_t<playlist_lock> foreign = service_new<RefusingLock>(0xFF, "Other");
    host.playlists->playlist_lock_install(theirs, foreign);

    reinstallLocks();
    EXPECT_FALSE(host.playlists->playlist_lock_is_present(plain));
    EXPECT_TRUE(host.playlists->playlist_lock_is_present(marked));
    EXPECT_TRUE(host.playlists->playlist_lock_is_present(newer));
    EXPECT_EQ(g_locks.size(), 2u);
    cvk::stringLite name;
    host.playlists->playlist_lock_query_name(theirs, name);
    EXPECT_EQ(name.str(), "Other");
}

// --- Recently closed ---

TEST_F(Locks, TwelveRemovedPlaylistsLeaveTheLastTenNewestRestoredFirst) {
    startClosedTracker();
    for (int i = 0; i < 12; ++i) {
        const std::string name = "P" + std::to_string(i);
        host.addPlaylist(name.c_str(), {tagged("/music/" + name + ".flac")});
    }
    ASSERT_TRUE(host.playlists->remove_playlists(bit_array_true()));
    ASSERT_EQ(g_closed.entries().size(), 10u);
    EXPECT_EQ(g_closed.entries().front().name, "P2");
    EXPECT_EQ(g_closed.entries().back().name, "P11");

    restoreClosed(SIZE_MAX);
    restoreClosed(SIZE_MAX);
    EXPECT_EQ(host.playlistNames(), (Names{"P11", "P10"}));
    EXPECT_EQ(host.paths(1), (Names{"file:///music/P10.flac"}));
    EXPECT_EQ(host.playlists->get_active_playlist(), 1u);
    restoreClosed(0);
    EXPECT_EQ(host.playlistNames().back(), "P2");
    EXPECT_EQ(g_closed.entries().size(), 7u);

    // A player that refuses: the entry keeps its place, and a beep says so.
    host.playlists->refuseCreate = true;
    restoreClosed(3);
    EXPECT_EQ(host.beeps, 1);
    ASSERT_EQ(g_closed.entries().size(), 7u);
    EXPECT_EQ(g_closed.entries()[3].name, "P6");
    host.playlists->refuseCreate = false;

    // Files gone since: the playlist comes back as it was, for the player to sort out.
    restoreClosed(3);
    EXPECT_EQ(host.playlistNames().back(), "P6");

    g_closed.clear();
    restoreClosed(SIZE_MAX);
    EXPECT_EQ(host.beeps, 2);
}

}  // namespace
