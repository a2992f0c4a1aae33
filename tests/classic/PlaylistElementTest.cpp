// The classic-playlist element against the host's playlists and title
// formatting.

#include "Alert.h"
#include "ClassicSettings.h"
#include "NotificationCenter.h"
#include "PlaylistFixture.h"
#include "Printers.h"
#include "QovClassicPlaylist.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kHome = QDir::homePath();

std::string music(const std::string& name) { return kHome.toStdString() + "/Music/" + name; }

class PlaylistElement : public PlaylistTest {
protected:
    ~PlaylistElement() override { platform::Alert::setResponder({}); }

    QHeaderView* header() const { return controller->table()->horizontalHeader(); }

    // The texts of a column (by identifier), row by row.
    QStringList column(const QString& identifier) const {
        QStringList out;
        const int c = model()->columnOf(identifier);
        for (int r = 0; r < model()->rowCount(); ++r) out.append(model()->cellText(r, c));
        return out;
    }
    QStringList columnTitles() const {
        QStringList out;
        for (int v = 0; v < header()->count(); ++v)
            out.append(
                model()->headerData(header()->logicalIndex(v), Qt::Horizontal, Qt::DisplayRole).toString());
        return out;
    }
    QString stored() const { return QString::fromUtf8(cfg_columns.get().get_ptr()); }
};

metadb_handle_list albums() {
    return {
        tagged(music("a/1.flac"),
               {{"artist", "Ann"}, {"album", "First"}, {"date", "1999"}, {"title", "One"}}),
        tagged(music("a/2.flac"),
               {{"artist", "Ann"}, {"album", "First"}, {"date", "1999"}, {"title", "Two"}}),
        tagged(music("b/1.flac"), {{"artist", "Bo"}, {"album", "Second"}, {"title", "Three"}}),
        tagged("/elsewhere/untagged.flac"),
    };
}

TEST_F(PlaylistElement, ShowsTheActivePlaylistGroupedWithFormattedCells) {
    cfg_groupBy.set("album");
    cfg_columns.set("index\t50\ntitle\t200\npath\t300");
    host.showPlaylist("Music", albums());
    show();

    EXPECT_EQ(columnTitles(), (QStringList{"Item index", "Title", "File path"}));
    EXPECT_EQ(column("title"), (QStringList{"Ann \u2013 First (1999)", "One", "Two", "Bo \u2013 Second",
                                            "Three", "? \u2013 ?", "untagged"}));
    EXPECT_EQ(column("index"),
              (QStringList{"Ann \u2013 First (1999)", "1", "2", "Bo \u2013 Second", "3", "? \u2013 ?", "4"}));
    EXPECT_EQ(model()->cellText(1, model()->columnOf("path")), "~/Music/a/1.flac");
    EXPECT_EQ(model()->cellText(6, model()->columnOf("path")), "/elsewhere/untagged.flac");

    // Header rows span every column from the one shown first, are taller and
    // cannot be selected.
    auto* table = controller->table();
    auto headerRect = [&] { return table->visualRect(model()->index(3, header()->logicalIndex(0))); };
    EXPECT_EQ(headerRect(), QRect(0, table->rowViewportPosition(3), 550,
                                  kDefaultRowHeight + QovClassicTableView::kHeaderRowExtra));
    EXPECT_EQ(table->rowHeight(4), kDefaultRowHeight);
    EXPECT_FALSE(model()->flags(model()->index(3, 0)) & Qt::ItemIsSelectable);
    EXPECT_TRUE(model()->flags(model()->index(4, 0)) & Qt::ItemIsSelectable);
    header()->moveSection(0, 2);
    EXPECT_EQ(headerRect().x(), 0);
    EXPECT_EQ(headerRect().width(), 550);

    // An unknown grouping shows none.
    cfg_groupBy.set("decade");
    controller->rebuild();
    EXPECT_EQ(column("title"), (QStringList{"One", "Two", "Three", "untagged"}));
}

TEST_F(PlaylistElement, ABurstOfPlaylistEventsRebuildsOnce) {
    const size_t p = host.showPlaylist("Music", {});
    show();
    QSignalSpy resets(model(), &QAbstractItemModel::modelReset);
    for (const auto& track : albums()) host.playlists->playlist_add_items(p, {track}, bit_array_false());
    EXPECT_EQ(resets.count(), 0);
    QApplication::processEvents();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model()->rowCount(), 4);

    // Another playlist's event still rebuilds.
    host.playlists->create_playlist("Other", SIZE_MAX, SIZE_MAX);
    host.playlists->playlist_add_items(1, {tagged("/x.flac")}, bit_array_false());
    QApplication::processEvents();
    EXPECT_EQ(resets.count(), 2);

    host.playlists->set_active_playlist(SIZE_MAX);
    QApplication::processEvents();
    EXPECT_EQ(model()->rowCount(), 0);
}

TEST_F(PlaylistElement, ScrollsToAnItemTheHostAsksToShow) {
    metadb_handle_list many;
    for (int i = 0; i < 500; ++i) many.push_back(tagged(music(std::to_string(i) + ".flac")));
    const size_t p = host.showPlaylist("Music", many);
    host.showPlaylist("Other", many);
    host.playlists->set_active_playlist(p);
    show();
    auto* table = controller->table();
    auto visible = [&](int row) {
        return table->viewport()->rect().contains(table->visualRect(model()->index(row, 1)));
    };
    ASSERT_FALSE(visible(450));

    host.playlists->playlist_ensure_visible(1, 450);  // not the shown playlist
    EXPECT_FALSE(visible(450));
    host.playlists->playlist_ensure_visible(p, 450);
    EXPECT_TRUE(visible(450));
    host.playlists->playlist_ensure_visible(p, 5000);  // past the end: nothing
    EXPECT_TRUE(visible(450));
    controller->rebuild();  // the same playlist again: the rows stay where they were
    EXPECT_TRUE(visible(450));
}

TEST_F(PlaylistElement, MarksThePlayingTrackAndQueuePositionsAcrossPlaylists) {
    cfg_columns.set("playing\t60\ntitle\t200");
    const size_t other = host.showPlaylist("Other", {tagged("/o.flac")});
    const size_t p = host.showPlaylist("Music", albums());
    show();

    for (auto [playlist, item] : {std::pair{p, 2}, {other, 0}, {p, 2}, {p, 0}})
        host.playlists->queue_add_item_playlist(playlist, item);
    platform::NotificationCenter::defaultCenter().post(platform::kClassicUIQueueChanged);
    EXPECT_EQ(column("playing"), (QStringList{"  [4]", "", "  [1, 3]", ""}));

    host.playlists->setPlayingLocation(p, 1);
    EXPECT_EQ(controller->playingRow(), 1);
    EXPECT_TRUE(model()->data(model()->index(1, 1), QovClassicPlaylistModel::PlayingRowRole).toBool());
    EXPECT_EQ(model()->cellText(1, 0), "  \u25B6");
    host.playback->paused = true;
    EXPECT_EQ(model()->cellText(1, 0), "  \u275A\u275A");

    host.playlists->setPlayingLocation(other, 0);
    EXPECT_EQ(controller->playingRow(), -1);
    EXPECT_EQ(model()->cellText(1, 0), "");
}

TEST_F(PlaylistElement, TheHeaderMenuListsColumnsCustomsAndGroupings) {
    cfg_columns.set("title\t250\ncustom\t120\tR&B\t%genre%\nartist\t180");
    cfg_groupBy.set("folder");
    host.showPlaylist("Music", albums());
    show();

    QMenu menu;
    controller->menuNeedsUpdate(&menu);
    QStringList items;
    for (QAction* a : menu.actions())
        items.append(a->isSeparator() ? "-" : a->text() + (a->isChecked() ? " *" : ""));
    EXPECT_EQ(items, (QStringList{"Item index",
                                  "Artist *",
                                  "Album",
                                  "Artist/album",
                                  "Track no",
                                  "Title *",
                                  "Title / track artist",
                                  "Date",
                                  "Duration",
                                  "Codec",
                                  "Bitrate",
                                  "Playing",
                                  "File name",
                                  "File extension",
                                  "File path",
                                  "File size",
                                  "-",
                                  "Play Count",
                                  "First Played",
                                  "Last Played",
                                  "Date Added",
                                  "Rating",
                                  "-",
                                  "Remove \u201CR&&B\u201D",
                                  "-",
                                  "More\u2026",
                                  "-",
                                  "Group by"}));
    // A menu takes a single "&" for a shortcut mark; the title shows whole.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&menu)->child(23)->text(QAccessible::Name),
              QStringLiteral("Remove \u201CR&B\u201D"));
    QStringList groups;
    for (QAction* a : menu.actions().last()->menu()->actions())
        groups.append(a->text() + (a->isChecked() ? " *" : ""));
    EXPECT_EQ(groups, (QStringList{"None", "Artist / Album", "Artist", "Folder *"}));

    menu.actions()[0]->trigger();  // Item index on, at the right end
    EXPECT_EQ(stored(), "title\t250\ncustom\t120\tR&B\t%genre%\nartist\t180\nindex\t50");
    menu.actions()[1]->trigger();   // Artist off
    menu.actions()[23]->trigger();  // Remove "R&B"
    EXPECT_EQ(stored(), "title\t250\nindex\t50");
    EXPECT_EQ(columnTitles(), (QStringList{"Title", "Item index"}));

    menu.actions().last()->menu()->actions()[1]->trigger();
    EXPECT_EQ(cfg_groupBy.get().str(), "album");
    EXPECT_EQ(model()->rows().headerRows().size(), 3u);
}

TEST_F(PlaylistElement, WithoutColumnsTheHeaderStaysToOfferThemBack) {
    cfg_columns.set("title\t250");
    host.showPlaylist("Music", albums());
    show();
    const int height = header()->height();
    ASSERT_GT(height, 0);
    controller->toggleColumn("title");
    QApplication::processEvents();
    EXPECT_EQ(stored(), "");
    EXPECT_EQ(header()->height(), height);
}

TEST_F(PlaylistElement, MovingOrResizingColumnsSavesThemButLoadingDoesNot) {
    const QString text = "playing\t60\nbogus\t10\nartist\nduration\t61";
    cfg_columns.set(text.toUtf8().constData());
    show();
    EXPECT_EQ(columnTitles(), (QStringList{"Playing", "Duration"}));
    EXPECT_EQ(header()->sectionSize(1), 61);
    EXPECT_EQ(stored(), text);

    header()->resizeSection(1, 90);
    EXPECT_EQ(stored(), "playing\t60\nduration\t90\nbogus\t10");
    header()->moveSection(1, 0);
    EXPECT_EQ(stored(), "duration\t90\nplaying\t60\nbogus\t10");

    // Loading again shows the stored order.
    controller->loadColumns();
    EXPECT_EQ(columnTitles(), (QStringList{"Duration", "Playing"}));
    EXPECT_EQ(header()->logicalIndex(0), 0);
}

TEST_F(PlaylistElement, AddingACustomColumnAsksForANameAndAPattern) {
    cfg_columns.set("title\t200");
    host.showPlaylist("Music", albums());
    show();
    QString name = "My\tGenre", pattern = "[%album%]";
    int answer = platform::Alert::kFirstButton;
    QStringList asked;
    platform::Alert::setResponder([&](const platform::Alert& alert) {
        asked.append(alert.messageText());
        const auto fields = alert.accessoryView()->findChildren<QLineEdit*>();
        EXPECT_EQ(alert.initialFocus(), fields.value(0));  // the name is typed first
        fields.value(0)->setText(name);
        fields.value(1)->setText(pattern);
        return answer;
    });
    auto add = [&] {
        controller->addCustom();
        QApplication::processEvents();
    };

    add();
    EXPECT_EQ(asked, QStringList{"Add column"});
    EXPECT_EQ(stored(), "title\t200\ncustom\t150\tMy Genre\t[%album%]");
    EXPECT_EQ(columnTitles(), (QStringList{"Title", "My Genre"}));
    EXPECT_EQ(column("custom0\tMy Genre\t[%album%]"), (QStringList{"First", "First", "Second", ""}));

    // A pattern that does not compile shows the host's marker instead of cells.
    name = "Broken";
    pattern = "$if2(%album%";
    add();
    EXPECT_EQ(model()->cellText(0, 2), QString::fromLatin1(titleformat_compiler::kInvalidPatternText));

    const QString before = stored();
    answer = platform::Alert::kSecondButton;  // Cancel
    add();
    name = "";
    answer = platform::Alert::kFirstButton;
    add();
    EXPECT_EQ(stored(), before);
}

TEST_F(PlaylistElement, GroupHeadersRunTheWholeRowPastTheLastColumn) {
    cfg_columns.set("index\t40");
    cfg_groupBy.set("album");
    host.showPlaylist("Music", albums());
    show();
    const QImage shot = controller->table()->viewport()->grab().toImage();
    const QColor base = controller->table()->viewport()->palette().color(QPalette::Base);
    // Row 0 is "Ann – First (1999)", far wider than the one column.
    const auto inked = [&](int row) {
        const int top = controller->table()->rowViewportPosition(row);
        for (int y = top; y < top + controller->table()->rowHeight(row); ++y)
            for (int x = 60; x < 200; ++x)
                if (shot.pixelColor(x, y) != base) return true;
        return false;
    };
    EXPECT_TRUE(inked(0));
    EXPECT_FALSE(inked(1));  // an item row ends with its columns
}

TEST_F(PlaylistElement, SettingsChangesRestyleTheRows) {
    cfg_groupBy.set("artist");
    host.showPlaylist("Music", albums());
    show();
    cfg_rowHeight.set(100);  // used clamped
    platform::NotificationCenter::defaultCenter().post(platform::kClassicUIPrefsChanged);
    EXPECT_EQ(controller->table()->rowHeight(1), kRowHeightMax);
    EXPECT_EQ(controller->table()->rowHeight(0), kRowHeightMax + QovClassicTableView::kHeaderRowExtra);
}

}  // namespace
