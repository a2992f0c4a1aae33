// The playlist's edits against the host's playlists: clipboard, undo, drag and
// drop, the context menu and its queue commands.

#include "Beep.h"
#include "ClassicDrag.h"
#include "ClassicSettings.h"
#include "PlaylistFixture.h"
#include "Printers.h"
#include "StartDrag.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>

namespace {

using Paths = std::vector<std::string>;
using Items = std::vector<size_t>;
using platform::EditAction;

std::string file(const std::string& name) { return "file:///m/" + name; }

metadb_handle_list named(std::initializer_list<const char*> names) {
    metadb_handle_list out;
    for (const char* n : names)
        out.push_back(tagged(std::string(n).find("://") == std::string::npos ? "/m/" + std::string(n) : n));
    return out;
}

class PlaylistEditing : public PlaylistTest {
protected:
    PlaylistEditing() {
        platform::setBeepHook([this] { ++beeps; });
    }
    ~PlaylistEditing() override {
        platform::setBeepHook({});
        platform::setDragHook({});
        g_drag.reset();
    }

    void select(size_t playlist, Items items) {
        bit_array_bittable mask;
        for (size_t i : items) mask.set(i, true);
        host.playlists->playlist_set_selection(playlist, bit_array_true(), mask);
    }

    // Enters, moves and drops at `at` in the viewport as the window system
    // would; the action taken, IgnoreAction when refused.
    Qt::DropAction dropAt(QPoint at, const QMimeData& data, Qt::DropActions allowed = Qt::CopyAction) {
        QDragEnterEvent enter(at, allowed, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &enter);
        if (!enter.isAccepted()) return Qt::IgnoreAction;
        QDragMoveEvent move(at, allowed, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
        if (!move.isAccepted()) return Qt::IgnoreAction;
        QDropEvent drop(at, allowed, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    QStringList menuTexts(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions()) {
            QString text = a->isSeparator() ? QStringLiteral("-") : a->text();
            if (a->isChecked()) text += QStringLiteral(" *");
            if (!a->isEnabled()) text += QStringLiteral(" (off)");
            out.append(text);
        }
        return out;
    }
    QAction* item(QMenu* menu, const QString& text) {
        for (QAction* a : menu->actions())
            if (a->text() == text) return a;
        return nullptr;
    }

    int beeps = 0;
};

TEST_F(PlaylistEditing, CopiedTracksPasteAfterTheFocusWithoutFilesAndUndoTakesThemOut) {
    const size_t p = host.showPlaylist("Music", named({"a.flac", "b.flac", "http://radio/live", "c.flac"}));
    show();
    select(p, {1, 2});
    controller->doCopy(false);
    // Only local files are offered to other programs.
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->urls(), QList<QUrl>{QUrl("file:///m/b.flac")});

    host.playlists->playlist_set_focus_item(p, 3);
    controller->doPaste();
    EXPECT_TRUE(host.incoming->requests.empty());
    EXPECT_EQ(host.paths(p), (Paths{file("a.flac"), file("b.flac"), "http://radio/live", file("c.flac"),
                                    file("b.flac"), "http://radio/live"}));
    EXPECT_EQ(host.selection(p), (Items{4, 5}));

    settle();
    EXPECT_TRUE(controller->canEdit(EditAction::Undo));
    controller->doUndo(false);
    EXPECT_EQ(host.paths(p).size(), 4u);
    controller->doUndo(true);
    EXPECT_EQ(host.paths(p).size(), 6u);
}

TEST_F(PlaylistEditing, AfterAnotherProgramCopiesPasteTakesItsFilesOrRefuses) {
    const size_t p = host.showPlaylist("Music", named({"a.flac", "b.flac"}));
    show();
    select(p, {0});
    controller->doCopy(false);

    auto* other = new QMimeData;
    other->setUrls({QUrl::fromLocalFile("/x/new.flac"), QUrl::fromLocalFile("/x/notes.txt"),
                    QUrl("https://example.com/c.flac")});
    QGuiApplication::clipboard()->setMimeData(other);
    host.playlists->playlist_set_focus_item(p, SIZE_MAX);
    controller->doPaste();
    ASSERT_EQ(host.incoming->requests.size(), 1u);
    EXPECT_EQ(host.incoming->requests[0].locations, (Paths{"/x/new.flac", "/x/notes.txt"}));
    EXPECT_EQ(host.incoming->requests[0].flags, 6u);
    settle();
    EXPECT_EQ(host.paths(p), (Paths{file("a.flac"), file("b.flac"), "file:///x/new.flac"}));
    EXPECT_EQ(host.selection(p), Items{2});

    // Text is no track: a refusal, and nothing changes.
    host.incoming->requests.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("/x/more.flac"));
    controller->doPaste();
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(host.incoming->requests.empty());

    // Thousands of paths arrive in their order, with one rebuild.
    QList<QUrl> many;
    for (int i = 0; i < 3000; ++i) many.append(QUrl::fromLocalFile(QStringLiteral("/bulk/%1.flac").arg(i)));
    auto* bulk = new QMimeData;
    bulk->setUrls(many);
    QGuiApplication::clipboard()->setMimeData(bulk);
    QSignalSpy resets(model(), &QAbstractItemModel::modelReset);
    controller->doPaste();
    settle();
    settle();
    const Paths after = host.paths(p);
    ASSERT_EQ(after.size(), 3003u);
    EXPECT_EQ(after[3], "file:///bulk/0.flac");
    EXPECT_EQ(after.back(), "file:///bulk/2999.flac");
    EXPECT_EQ(resets.count(), 1);
}

TEST_F(PlaylistEditing, CutTakesTheSelectionOutAndOneUndoPutsItBack) {
    const size_t p = host.showPlaylist("Music", named({"a.flac", "b.flac", "c.flac"}));
    show();
    EXPECT_FALSE(controller->canEdit(EditAction::Cut));
    EXPECT_FALSE(controller->canEdit(EditAction::Undo));
    EXPECT_TRUE(controller->canEdit(EditAction::Paste));
    select(p, {0, 2});
    EXPECT_TRUE(controller->canEdit(EditAction::Cut));

    controller->doCopy(true);
    EXPECT_EQ(host.paths(p), Paths{file("b.flac")});
    controller->doUndo(false);
    EXPECT_EQ(host.paths(p), (Paths{file("a.flac"), file("b.flac"), file("c.flac")}));

    // The Delete key does the same; with nothing selected it does nothing.
    select(p, {1});
    settle();
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(table(), &backspace);
    EXPECT_EQ(host.paths(p), (Paths{file("a.flac"), file("c.flac")}));
    controller->removeSelection();
    EXPECT_EQ(host.paths(p).size(), 2u);

    host.playlists->set_active_playlist(SIZE_MAX);
    settle();
    for (EditAction a : {EditAction::Paste, EditAction::Undo, EditAction::Copy})
        EXPECT_FALSE(controller->canEdit(a));
}

TEST_F(PlaylistEditing, RowsDraggedWithinThePlaylistMoveIntoTheGap) {
    const size_t p =
        host.showPlaylist("Music", named({"0.flac", "1.flac", "2.flac", "3.flac", "4.flac", "5.flac"}));
    show();
    select(p, {2, 5});
    settle();

    Items dragged;
    platform::setDragHook([&](QWidget*, const QMimeData& data, Qt::DropActions allowed) {
        dragged = g_drag.items;
        EXPECT_EQ(data.data(kRowsType), QByteArray("2\n5"));
        EXPECT_EQ(data.urls().size(), 2);
        EXPECT_EQ(allowed, Qt::CopyAction);
        return dropAt(gapBefore(4), data, allowed);
    });
    const QPoint from = rowCenter(2);
    const QPoint global = viewport()->mapToGlobal(from);
    QMouseEvent press(QEvent::MouseButtonPress, from, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(viewport(), &press);
    for (const int dy : {20, 40}) {  // the first only tells the table a drag is coming
        QMouseEvent move(QEvent::MouseMove, from + QPoint(0, dy), global, Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(viewport(), &move);
    }

    EXPECT_EQ(dragged, (Items{2, 5}));
    EXPECT_FALSE(g_drag.active);
    const auto n = [](int i) { return file(std::to_string(i) + ".flac"); };
    EXPECT_EQ(host.paths(p), (Paths{n(0), n(1), n(3), n(2), n(5), n(4)}));
    controller->doUndo(false);
    EXPECT_EQ(host.paths(p), (Paths{n(0), n(1), n(2), n(3), n(4), n(5)}));
}

TEST_F(PlaylistEditing, DropsFromOtherPlaylistsTheLibraryAndFilesAreCopiedInSelected) {
    cfg_groupBy.set("album");
    const size_t other = host.showPlaylist("Other", named({"x.flac", "y.flac"}));
    const size_t p = host.showPlaylist(
        "Music", {tagged("/m/a1.flac", {{"album", "A"}}), tagged("/m/a2.flac", {{"album", "A"}}),
                  tagged("/m/b1.flac", {{"album", "B"}}), tagged("/m/b2.flac", {{"album", "B"}})});
    show();
    ASSERT_TRUE(controller->isHeaderRow(3));

    // Onto group B's header: before its first track. The source keeps its rows.
    QMimeData rows;
    rows.setData(kRowsType, "1");
    g_drag.begin(other, {1}, {host.playlists->playlist_get_item_handle(other, 1)});
    EXPECT_EQ(dropAt(gapBefore(3), rows), Qt::CopyAction);
    EXPECT_EQ(host.paths(p)[2], file("y.flac"));
    EXPECT_EQ(host.selection(p), Items{2});
    EXPECT_EQ(host.paths(other).size(), 2u);
    settle();

    // From the library window, below the last row: at the end.
    QMimeData library;
    library.setData(kRowsType, kLibraryRows);
    g_drag.begin(SIZE_MAX, {}, named({"z.flac"}));
    EXPECT_EQ(dropAt(QPoint(20, viewport()->height() - 2), library), Qt::CopyAction);
    EXPECT_EQ(host.paths(p).back(), file("z.flac"));
    g_drag.reset();
    settle();

    // Files from another program; what is no track is left out.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/new/f.flac"), QUrl::fromLocalFile("/new/readme.txt")});
    EXPECT_EQ(dropAt(gapBefore(1), files), Qt::CopyAction);
    settle();
    EXPECT_EQ(host.paths(p)[0], "file:///new/f.flac");
    EXPECT_EQ(host.selection(p), Items{0});

    QMimeData text;
    text.setText(QStringLiteral("/new/g.flac"));
    EXPECT_EQ(dropAt(gapBefore(1), text), Qt::IgnoreAction);

    // A locked playlist refuses: a beep, and the selection stays.
    host.playlists->playlist_lock_install(p, service_new<RefusingLock>(playlist_lock::filter_add));
    const size_t count = host.paths(p).size();
    EXPECT_EQ(dropAt(gapBefore(1), files), Qt::CopyAction);
    settle();
    EXPECT_EQ(host.paths(p).size(), count);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(host.selection(p), Items{0});

    host.playlists->set_active_playlist(SIZE_MAX);
    settle();
    EXPECT_EQ(dropAt(QPoint(5, 5), files), Qt::IgnoreAction);
}

TEST_F(PlaylistEditing, TheContextMenuOffersItsOwnQueueCommandsBesideTheHostsOthers) {
    const size_t p = host.showPlaylist("Music", named({"a.flac", "b.flac", "c.flac"}));
    host.playlists->queue_add_item_playlist(p, 0);
    show();
    select(p, {0});
    settle();

    // A right click on an unselected row selects just it.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            opened = true;
            popup->close();
        }
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, rowCenter(2), viewport()->mapToGlobal(rowCenter(2)));
    QApplication::sendEvent(viewport(), &click);
    EXPECT_TRUE(opened);
    EXPECT_EQ(host.selection(p), Items{2});

    std::unique_ptr<QMenu> menu(controller->contextMenu(2));
    EXPECT_EQ(host.menu->flags, 8u);
    EXPECT_EQ(menuTexts(menu.get()),
              (QStringList{"Play", "Remove", "-", "Add to Playback Queue", "Flush Playback Queue", "-",
                           "Play", "-", "Copy Path", "-", "Rating"}));
    EXPECT_EQ(menuTexts(item(menu.get(), "Rating")->menu()), (QStringList{"1 Star *", "-", "Clear (off)"}));
    item(menu.get(), "Copy Path")->trigger();
    EXPECT_EQ(host.menu->executed, QStringList{"&Copy Path"});
    menu->actions()[0]->trigger();
    EXPECT_EQ(host.played, (std::vector<std::pair<size_t, size_t>>{{p, 2}}));

    menu->actions()[3]->trigger();  // Add to Playback Queue
    std::vector<t_playback_queue_item> queue;
    host.playlists->queue_get_contents(queue);
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[1].item, 2u);

    // Remove shows for a queued selection and takes only its entries.
    host.playlists->queue_add_item_playlist(p, 1);
    controller->queueChanged();
    select(p, {0, 1});
    settle();
    menu.reset(controller->contextMenu(0));
    item(menu.get(), "Remove from Playback Queue")->trigger();
    host.playlists->queue_get_contents(queue);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue[0].item, 2u);
    item(menu.get(), "Flush Playback Queue")->trigger();
    EXPECT_EQ(host.playlists->queue_get_count(), 0u);
}

TEST_F(PlaylistEditing, NoMenuOpensOnAHeaderRowOrWithoutAPlaylist) {
    cfg_groupBy.set("artist");
    host.showPlaylist("Music", named({"a.flac"}));
    show();
    bool opened = false;
    QTimer::singleShot(0, [&] { opened = QApplication::activePopupWidget() != nullptr; });
    QContextMenuEvent click(QContextMenuEvent::Mouse, rowCenter(0), viewport()->mapToGlobal(rowCenter(0)));
    QApplication::sendEvent(viewport(), &click);
    settle();
    EXPECT_FALSE(opened);

    host.playlists->set_active_playlist(SIZE_MAX);
    settle();
    EXPECT_EQ(controller->contextMenu(0), nullptr);
}

}  // namespace
