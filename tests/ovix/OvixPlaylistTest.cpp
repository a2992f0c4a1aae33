// The Ovix playlist against the host's playlist manager and title formatting.

#include "OvixRowListModel.h"
#include "OvixTestHost.h"
#include "playlist_callback.h"
#include "QovOvixPlaylist.h"
#include "QovOvixTableView.h"
#include "StartDrag.h"

#include <QAccessible>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;
using Items = std::vector<size_t>;

// Counts the host's selection announcements.
class SelectionLog : public playlist_callback_impl_base {
public:
    SelectionLog()
        : playlist_callback_impl_base(flag_on_items_selection_change | flag_on_item_ensure_visible) {}
    void on_items_selection_change(size_t, const bit_array&, const bit_array&) override { ++changes; }
    int changes = 0;
};

class OvixPlaylist : public ::testing::Test {
protected:
    ~OvixPlaylist() override { controller.reset(); }

    // Two albums of two tracks each (rows: H 0 1 H 2 3), active.
    size_t fourTracks() {
        return host.showPlaylist("Mix", {albumTrack("First", "One", 200.4), albumTrack("First", "Two", 200.4),
                                         albumTrack("Second", "Three", 60), albumTrack("Second", "Four", 0)});
    }

    QovOvixTableView* show() {
        controller = std::make_unique<QovOvixPlaylist>();
        auto* view = static_cast<QovOvixTableView*>(controller->view());
        view->resize(400, 400);
        view->show();
        return view;
    }

    const OvixRows& rows() const { return controller->rows(); }
    QStringView line1(size_t row) const { return rows()[rows().rows[row].line1]; }
    QPoint rowCenter(int row) const {
        return controller->tableView()->visualRect(controller->tableView()->model()->index(row, 0)).center();
    }
    QPoint rowTop(int row) const {
        return controller->tableView()
                   ->visualRect(controller->tableView()->model()->index(row, 0))
                   .topLeft() +
               QPoint(20, 3);
    }
    Items items(size_t playlist) const {
        Items out;
        metadb_handle_list tracks;
        host.playlists->playlist_get_all_items(playlist, tracks);
        for (const auto& t : tracks) {
            const std::string path = t->get_path();
            out.push_back(size_t(std::stoul(path.substr(path.rfind('#') + 1))));
        }
        return out;
    }
    // Presses on row `row`, drags and drops at `at` as the window system
    // would; false when no drag started or the drop was refused.
    bool dragTo(int row, QPoint at) {
        bool dropped = false;
        platform::setDragHook([&](QWidget*, const QMimeData& data, Qt::DropActions allowed) {
            EXPECT_EQ(allowed, Qt::MoveAction);
            dropped = dropOn(data, at);
            return dropped ? Qt::MoveAction : Qt::IgnoreAction;
        });
        QWidget* viewport = controller->tableView()->viewport();
        const QPoint from = rowCenter(row);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        for (const int dy : {10, 30}) {  // the first only tells the list a drag is coming
            QMouseEvent move(QEvent::MouseMove, from + QPoint(0, dy), viewport->mapToGlobal(from),
                             Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(0, 30));
        platform::setDragHook({});
        return dropped;
    }
    bool dropOn(const QMimeData& data, QPoint at) {
        QWidget* target = controller->tableView()->viewport();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        if (!move.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    OvixTestHost host;
    std::unique_ptr<QovOvixPlaylist> controller;
};

// Numbered tracks "#0".."#n-1" in albums of `perAlbum`.
metadb_handle_list numbered(size_t count, size_t perAlbum = 10) {
    metadb_handle_list out;
    for (size_t i = 0; i < count; ++i)
        out.push_back(memoryTrack("t#" + std::to_string(i),
                                  {{"artist", "A"},
                                   {"album", "Album " + std::to_string(i / perAlbum)},
                                   {"title", "T" + std::to_string(i)}},
                                  100));
    return out;
}

TEST_F(OvixPlaylist, ShowsTheActivePlaylistAsGroupsOfFormattedTracks) {
    fourTracks();
    show();
    const OvixRows& r = rows();
    ASSERT_EQ(r.rows.size(), 6u);
    EXPECT_TRUE(r.rows[0].header);
    EXPECT_EQ(r[r.rows[0].line1], u"Artist - First");
    EXPECT_EQ(r[r.rows[0].line2], u"2 / 6:41");
    EXPECT_EQ(r[r.rows[1].line1], u"Artist - One");
    EXPECT_TRUE(r[r.rows[1].line2].startsWith(u"FLAC :: 44 kHz, 900 kbps, "));
    EXPECT_EQ(r[r.rows[1].right], u"3:20");
    EXPECT_EQ(r[r.rows[3].line2], u"2 / 1:00");
    EXPECT_TRUE(r[r.rows[5].right].isEmpty());  // unknown length
    EXPECT_EQ(r.itemToRow, (Items{1, 2, 4, 5}));

    // A track without any tag still has a row and a group.
    host.playlists->playlist_add_items(0, {memoryTrack("bare.flac", {})}, bit_array_false());
    ASSERT_TRUE(spinUntil([&] { return rows().itemToRow.size() == 5; }));
    EXPECT_EQ(line1(rows().rows.size() - 1), u"bare");
    EXPECT_EQ(line1(rows().rows.size() - 2), u"?");
}

TEST_F(OvixPlaylist, ManyChangesInOneTurnRebuildOnce) {
    fourTracks();
    show();
    QSignalSpy resets(controller->tableView()->model(), &QAbstractItemModel::modelReset);
    for (int i = 0; i < 5; ++i) host.playlists->playlist_add_items(0, numbered(1), bit_array_false());
    host.playlists->playlist_rename(0, "Renamed", SIZE_MAX);  // not a change of the rows
    EXPECT_EQ(resets.count(), 0);
    spinFor(50ms);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(rows().itemToRow.size(), 9u);
}

TEST_F(OvixPlaylist, FollowsTheActivePlaylistAndShowsNothingWithoutOne) {
    fourTracks();
    const size_t other = host.showPlaylist("Other", numbered(3));
    show();
    EXPECT_EQ(rows().itemToRow.size(), 3u);
    host.playlists->set_active_playlist(0);
    ASSERT_TRUE(spinUntil([&] { return rows().itemToRow.size() == 4; }));
    host.playlists->set_active_playlist(SIZE_MAX);
    ASSERT_TRUE(spinUntil([&] { return rows().rows.empty(); }));
    EXPECT_EQ(controller->playlist(), SIZE_MAX);

    // Nothing to act on: drops are refused, keys and clicks ask nothing.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/x.flac"))});
    EXPECT_FALSE(dropOn(files, QPoint(50, 50)));
    QTest::keyClick(controller->tableView(), Qt::Key_Return);
    QTest::keyClick(controller->tableView(), Qt::Key_Delete);
    EXPECT_TRUE(host.played.empty());
    EXPECT_EQ(host.playlists->playlist_get_item_count(other), 3u);

    host.playlists->set_active_playlist(other);
    host.playlists->playlist_clear_selection(other);
    ASSERT_TRUE(spinUntil([&] { return rows().itemToRow.size() == 3; }));
    EXPECT_EQ(host.playlists->playlist_get_item_count(0), 4u);
}

TEST_F(OvixPlaylist, SelectionGoesBothWaysWithoutEchoes) {
    const size_t p = fourTracks();
    QovOvixTableView* view = show();
    SelectionLog log;

    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_range(1, 2));
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 2);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(2));
    EXPECT_TRUE(view->selectionModel()->isRowSelected(4));

    log.changes = 0;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(5));
    EXPECT_EQ(log.changes, 1);  // the host hears once, and the list then shows what it holds
    EXPECT_EQ(host.selection(p), Items{3});
    EXPECT_EQ(host.playlists->playlist_get_focus_item(p), 3u);
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCenter(1));
    EXPECT_EQ(host.selection(p), (Items{0, 3}));
    EXPECT_EQ(host.playlists->playlist_get_focus_item(p), 0u);

    // A header takes no part in selection.
    log.changes = 0;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(3));
    EXPECT_EQ(log.changes, 0);
    EXPECT_EQ(host.selection(p), (Items{0, 3}));
    view->selectAll();
    EXPECT_EQ(host.selection(p), (Items{0, 1, 2, 3}));
}

TEST_F(OvixPlaylist, ArrowKeysGoOnFromTheSelectionAndPassOverHeaders) {
    const size_t p = fourTracks();  // rows: H 0 1 H 2 3
    QovOvixTableView* view = show();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(2));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(host.selection(p), Items{2});

    // After a rebuild, and after a selection made elsewhere.
    host.playlists->playlist_add_items(p, numbered(1), bit_array_false());
    ASSERT_TRUE(spinUntil([&] { return rows().itemToRow.size() == 5; }));
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(host.selection(p), Items{1});
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(3));
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(host.selection(p), Items{2});

    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(host.selection(p), Items{0});
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(host.selection(p), Items{0});
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(host.selection(p), (Items{0, 1, 2}));
}

TEST_F(OvixPlaylist, ReturnEnterAndDoubleClickPlayDeleteKeysRemove) {
    const size_t p = fourTracks();
    QovOvixTableView* view = show();
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(2));
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Enter);
    EXPECT_EQ(host.played, (std::vector<std::pair<size_t, size_t>>{{p, 2}, {p, 2}}));

    host.played.clear();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(2));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(3));  // a header
    EXPECT_EQ(host.played, (std::vector<std::pair<size_t, size_t>>{{p, 1}}));

    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(0));
    QTest::keyClick(view, Qt::Key_Delete);
    ASSERT_TRUE(spinUntil([&] { return rows().itemToRow.size() == 3; }));
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(0));
    QTest::keyClick(view, Qt::Key_Backspace);
    ASSERT_TRUE(spinUntil([&] { return rows().itemToRow.size() == 2; }));
    EXPECT_EQ(line1(1), u"Artist - Three");
}

TEST_F(OvixPlaylist, DraggedRowsMoveToTheGapTheyAreDroppedIn) {
    const size_t p = host.showPlaylist("Numbers", numbered(6, 3));  // H 0 1 2 H 3 4 5
    show();
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_range(0, 2));
    ASSERT_TRUE(dragTo(1, rowTop(6)));  // above item 4
    EXPECT_EQ(items(p), (Items{2, 3, 0, 1, 4, 5}));

    // Onto a group's header: in front of its first track.
    ASSERT_TRUE(spinUntil([&] { return rows().rows[1].number == 1 && line1(1).endsWith(u"T2"); }));
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(5));
    ASSERT_TRUE(dragTo(int(rows().itemToRow[5]), rowTop(0)));
    EXPECT_EQ(items(p), (Items{5, 2, 3, 0, 1, 4}));

    // Below the last row: to the end.
    ASSERT_TRUE(spinUntil([&] { return line1(1).endsWith(u"T5"); }));
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(0));
    ASSERT_TRUE(dragTo(int(rows().itemToRow[0]), QPoint(50, 395)));
    EXPECT_EQ(items(p), (Items{2, 3, 0, 1, 4, 5}));

    // A header drags nothing, not even the selection.
    EXPECT_FALSE(dragTo(0, rowTop(3)));
    host.playlists->playlist_clear_selection(p);
    EXPECT_FALSE(dragTo(0, rowTop(3)));
    EXPECT_EQ(items(p), (Items{2, 3, 0, 1, 4, 5}));
}

TEST_F(OvixPlaylist, RowsOfAnotherListAreNoFiles) {
    const size_t p = host.showPlaylist("Numbers", numbered(3));
    show();
    QMimeData rowsOnly;
    rowsOnly.setData(QString::fromLatin1(kRowsMimeType), encodeRowItems({0}));
    EXPECT_FALSE(dropOn(rowsOnly, rowTop(1)));
    EXPECT_EQ(items(p), (Items{0, 1, 2}));
}

TEST_F(OvixPlaylist, DroppedFilesArriveWhereTheyWereDroppedSelected) {
    const size_t p = fourTracks();
    show();
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(0));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/new one.flac")),
                   QUrl(QStringLiteral("https://example.com/stream")),
                   QUrl::fromLocalFile(QStringLiteral("/music/folder"))});
    ASSERT_TRUE(dropOn(files, rowTop(3)));  // the second group's header: before item 2
    ASSERT_EQ(host.incoming->requests.size(), 1u);
    const auto& request = host.incoming->requests[0];
    EXPECT_EQ(request.locations, (std::vector<std::string>{"/music/new one.flac", "/music/folder"}));
    EXPECT_EQ(request.flags, 6u);

    request.notify->on_completion({albumTrack("New", "A"), albumTrack("New", "B")});
    EXPECT_EQ(host.playlists->playlist_get_item_count(p), 6u);
    EXPECT_EQ(host.selection(p), (Items{2, 3}));
    EXPECT_STREQ(host.playlists->playlist_get_item_handle(p, 2)->get_path(), "file:///music/New/A.flac");

    // Only files: a link alone is refused.
    QMimeData link;
    link.setUrls({QUrl(QStringLiteral("https://example.com/stream"))});
    EXPECT_FALSE(dropOn(link, rowTop(1)));
}

TEST_F(OvixPlaylist, LateOrAbortedFilesAddNothing) {
    const size_t p = fourTracks();
    const size_t other = host.showPlaylist("Other", {});
    host.playlists->set_active_playlist(p);
    show();
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/x.flac"))});
    ASSERT_TRUE(dropOn(files, rowTop(1)));
    ASSERT_TRUE(dropOn(files, rowTop(1)));
    ASSERT_TRUE(dropOn(files, QPoint(10, 390)));

    host.incoming->requests[0].notify->on_aborted();
    EXPECT_EQ(host.playlists->playlist_get_item_count(p), 4u);
    // The list may be gone before the answer.
    controller.reset();
    host.playlists->remove_playlist(other);
    host.playlists->remove_playlist(p);
    host.incoming->requests[1].notify->on_completion({albumTrack("New", "A")});
    EXPECT_EQ(host.playlists->get_playlist_count(), 0u);
}

TEST_F(OvixPlaylist, ThePlayingTrackIsMarkedAndScrolledTo) {
    const size_t p = host.showPlaylist("Long", numbered(200));
    QovOvixTableView* view = show();
    auto* model = static_cast<OvixRowListModel*>(view->model());
    host.playItem(p, 150);
    const int row = int(rows().itemToRow[150]);
    EXPECT_TRUE(model->isPlaying(rows().rows[size_t(row)]));
    EXPECT_FALSE(model->isPlaying(rows().rows[size_t(row) + 1]));
    EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(model->index(row, 0))));
    EXPECT_TRUE(model->data(model->index(row, 0), Qt::AccessibleDescriptionRole)
                    .toString()
                    .startsWith(QStringLiteral("Playing, ")));

    // The host asks every list to show an item: only one of the list's own playlist moves it.
    host.playlists->playlist_ensure_visible(p, 0);
    EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(model->index(1, 0))));
    host.showPlaylist("Elsewhere", numbered(3));
    host.playlists->set_active_playlist(p);
    host.playlists->playlist_ensure_visible(1, 2);
    EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(model->index(1, 0))));

    host.playback->stopWith(playback_control::stop_reason_user);
    host.playlists->clearPlayingLocation();
    EXPECT_FALSE(model->isPlaying(rows().rows[size_t(row)]));
}

TEST_F(OvixPlaylist, ScreenReadersReadTheRowsAsTheyAreShown) {
    const size_t p = fourTracks();
    QovOvixTableView* view = show();
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(1));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 6);
    QAccessibleInterface* header = list->child(0);
    QAccessibleInterface* second = list->child(2);
    EXPECT_EQ(header->text(QAccessible::Name), QStringLiteral("Artist - First, 2 / 6:41"));
    EXPECT_FALSE(header->state().selectable);
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("2. Artist - Two"));
    EXPECT_TRUE(second->state().selected);
    EXPECT_FALSE(list->child(1)->state().selected);
    EXPECT_EQ(second->rect(),
              QRect(view->viewport()->mapToGlobal(view->visualRect(view->model()->index(2, 0)).topLeft()),
                    view->visualRect(view->model()->index(2, 0)).size()));
}

}  // namespace
