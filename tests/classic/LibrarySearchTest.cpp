// The library search window against the host's playlists and title
// formatting and a library the test fills.

#include "ChromeHost.h"
#include "ClassicDrag.h"
#include "Printers.h"
#include "QovClassicLibraryModel.h"
#include "QovClassicLibrarySearch.h"
#include "StartDrag.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// A library track that counts how often it is formatted.
class CountedTrack : public metadb_handle {
public:
    explicit CountedTrack(service_ptr_t<metadb_handle> track) : m_track(std::move(track)) {}
    const char* get_path() const override { return m_track->get_path(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return m_track->get_length(); }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook* hook, cvk::string_base& out,
                      const service_ptr_t<titleformat_object>& script,
                      titleformat_text_filter* filter) const override {
        ++formats;
        return m_track->format_title(hook, out, script, filter);
    }
    mutable int formats = 0;

private:
    service_ptr_t<metadb_handle> m_track;
};

class LibrarySearch : public ::testing::Test {
protected:
    LibrarySearch() {
        host.library->tracks = {
            tagged("/music/beyonce.flac",
                   {{"artist", "Beyoncé"}, {"title", "Formation"}, {"album", "Lemonade"}}, 206),
            tagged("/music/lanterns.flac",
                   {{"artist", "The Lanterns"}, {"title", "Morning Light"}, {"date", "1998"}}),
            tagged("/music/winter.flac", {{"artist", "Ada Winter"}, {"title", "Static"}, {"genre", "Folk"}}),
        };
    }
    ~LibrarySearch() override { QovClassicLibrarySearch::shutdown(); }

    QovClassicLibrarySearch& open() {
        QovClassicLibrarySearch::show();
        return *QovClassicLibrarySearch::instance();
    }
    void type(const QString& text) { QovClassicLibrarySearch::instance()->searchField()->setText(text); }
    QStringList column(int c) {
        QStringList out;
        auto* model = QovClassicLibrarySearch::instance()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out.append(model->data(model->index(r, c), Qt::DisplayRole).toString());
        return out;
    }
    QString status() { return QovClassicLibrarySearch::instance()->status()->text(); }

    ChromeHost host;
};

TEST_F(LibrarySearch, OneWindowReloadedOnEveryShow) {
    QovClassicLibrarySearch& first = open();
    EXPECT_EQ(first.window()->windowTitle(), QStringLiteral("Search Library"));
    EXPECT_TRUE(first.window()->isVisible());
    EXPECT_EQ(status(), QStringLiteral("3 tracks in library"));
    EXPECT_EQ(first.model()->rowCount(), 0);  // an empty query shows no rows

    type(QStringLiteral("light"));
    first.window()->close();
    host.library->tracks.push_back(tagged("/music/new.flac", {{"title", "Light Years"}}));
    QovClassicLibrarySearch& again = open();
    EXPECT_EQ(&again, &first);
    EXPECT_TRUE(again.window()->isVisible());
    EXPECT_EQ(column(1), (QStringList{"Morning Light", "Light Years"}));  // the query runs again
    EXPECT_EQ(status(), QStringLiteral("2 of 4 tracks"));
}

TEST_F(LibrarySearch, TypingFindsEveryWordInAnyOrderAcrossAccents) {
    open();
    type(QStringLiteral("BEYONCE lemonade"));
    EXPECT_EQ(column(0), QStringList{"Beyoncé"});
    EXPECT_EQ(column(3), QStringList{"3:26"});
    type(QStringLiteral("lemonade beyoncé"));
    EXPECT_EQ(column(1), QStringList{"Formation"});
    type(QStringLiteral("folk"));
    EXPECT_EQ(column(1), QStringList{"Static"});
    type(QStringLiteral("   "));
    EXPECT_EQ(column(1), QStringList{});
    EXPECT_EQ(status(), QStringLiteral("3 tracks in library"));
    type(QStringLiteral("nothing here"));
    EXPECT_EQ(status(), QStringLiteral("0 of 3 tracks"));

    host.library->enabled = false;
    open();
    EXPECT_EQ(status(), QStringLiteral("Media Library is not configured (Preferences > Media Library)."));
    EXPECT_EQ(QovClassicLibrarySearch::instance()->model()->rowCount(), 0);
}

TEST_F(LibrarySearch, ResultsGoToTheActivePlaylistOrANewOneNamedAfterTheQuery) {
    QovClassicLibrarySearch& search = open();
    host.addPlaylist("Current", {tagged("/music/old.flac")});
    host.playlists->set_active_playlist(0);

    type(QStringLiteral("e"));  // every track
    // Return with nothing selected: all results, after what is there.
    QTest::keyClick(search.searchField(), Qt::Key_Return);
    EXPECT_EQ(host.paths(0), (Names{"file:///music/old.flac", "file:///music/beyonce.flac",
                                    "file:///music/lanterns.flac", "file:///music/winter.flac"}));
    EXPECT_TRUE(host.playlists->playlist_is_undo_available(0));

    // The selected rows only, in row order.
    search.table()->selectRow(2);
    search.table()->selectionModel()->select(search.model()->index(0, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    search.sendToNew();
    EXPECT_EQ(host.playlistNames(), (Names{"Current", "e"}));
    EXPECT_EQ(host.paths(1), (Names{"file:///music/beyonce.flac", "file:///music/winter.flac"}));
    EXPECT_EQ(host.playlists->get_active_playlist(), 1u);

    // With nothing active a playlist is made for them.
    host.playlists->set_active_playlist(SIZE_MAX);
    search.table()->clearSelection();
    type(QStringLiteral("static"));
    search.addToCurrent();
    EXPECT_EQ(host.playlistNames().back(), "New Playlist");
    EXPECT_EQ(host.paths(2), (Names{"file:///music/winter.flac"}));

    // Nothing to act on, or a refusing player: nothing happens.
    type(QStringLiteral("   "));
    search.sendToNew();
    search.addToCurrent();
    EXPECT_EQ(host.playlistNames().size(), 3u);
    type(QStringLiteral("static"));
    host.playlists->refuseCreate = true;
    search.sendToNew();
    EXPECT_EQ(host.playlistNames().size(), 3u);
}

TEST_F(LibrarySearch, ColumnTextsAreFormattedOnceAsTheyScroll) {
    auto counted = service_new<CountedTrack>(tagged("/music/a.flac", {{"title", "Once"}}));
    host.library->tracks = {counted};
    open();
    EXPECT_EQ(counted->formats, 1);  // its search text
    type(QStringLiteral("once"));
    EXPECT_EQ(column(1), QStringList{"Once"});
    const int shown = counted->formats;
    EXPECT_EQ(column(1), QStringList{"Once"});
    EXPECT_EQ(column(1), QStringList{"Once"});
    EXPECT_EQ(counted->formats, shown);
}

TEST_F(LibrarySearch, RowsDragOutAsTracksAndAsFilesWhereTheyAreFiles) {
    class Stream : public metadb_handle {
    public:
        const char* get_path() const override { return "https://radio.example/live"; }
        uint32_t get_subsong_index() const override { return 0; }
        double get_length() const override { return 0; }
        t_filesize get_filesize() const override { return filesize_invalid; }
        bool format_title(titleformat_hook*, cvk::string_base& out, const service_ptr_t<titleformat_object>&,
                          titleformat_text_filter*) const override {
            out.set_string("Live Radio e");
            return true;
        }
    };
    host.library->tracks.push_back(service_new<Stream>());
    QovClassicLibrarySearch& search = open();
    type(QStringLiteral("e"));
    ASSERT_EQ(search.model()->rowCount(), 4);

    // Rows 3, 0 and 2 selected, in that order; the drag starts on row 2.
    QTableView* table = search.table();
    for (int row : {3, 0, 2})
        table->selectionModel()->select(search.model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QByteArray rows;
    QList<QUrl> files;
    std::vector<std::string> dragged;
    Qt::DropActions allowed;
    platform::setDragHook([&](QWidget*, const QMimeData& data, Qt::DropActions actions) {
        rows = data.data(kRowsType);
        files = data.urls();
        allowed = actions;
        EXPECT_EQ(g_drag.playlist, SIZE_MAX);
        for (const auto& t : g_drag.handles) dragged.push_back(t->get_path());
        return Qt::CopyAction;
    });
    const QPoint from = table->visualRect(search.model()->index(2, 0)).center();
    QTest::mousePress(table->viewport(), Qt::LeftButton, {}, from);
    for (const int dy : {10, 30}) {  // the first only tells the table a drag is coming
        QMouseEvent move(QEvent::MouseMove, from + QPoint(0, dy), table->viewport()->mapToGlobal(from),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(table->viewport(), &move);
    }
    platform::setDragHook({});

    EXPECT_EQ(rows, QByteArray("library\nlibrary\nlibrary"));
    // Only local files go to other programs as files.
    EXPECT_EQ(files, (QList<QUrl>{QUrl::fromLocalFile("/music/beyonce.flac"),
                                  QUrl::fromLocalFile("/music/winter.flac")}));
    EXPECT_EQ(allowed, Qt::CopyAction);
    EXPECT_EQ(dragged, (Names{"file:///music/beyonce.flac", "file:///music/winter.flac",
                              "https://radio.example/live"}));
    EXPECT_FALSE(g_drag.active);
}

TEST_F(LibrarySearch, TypingFastOverALargeLibraryStaysCorrect) {
    metadb_handle_list tracks;
    for (int i = 0; i < 20000; ++i) {
        const std::string n = std::to_string(i);
        const std::string title = "Song " + n;
        tracks.push_back(
            tagged("/music/" + n + ".flac", {{"artist", i % 7 ? "Ann" : "Zoë"}, {"title", title.c_str()}}));
    }
    host.library->tracks = tracks;
    QovClassicLibrarySearch& search = open();
    const QString typed = QStringLiteral("zoe song 1");
    for (qsizetype i = 0; i < typed.size(); ++i) {
        // One keystroke at a time, each a search of its own.
        QTest::keyClick(search.searchField(), typed[i].toLatin1());
        ASSERT_EQ(search.searchField()->text(), typed.left(i + 1));
    }
    // Zoë on every seventh track, and a 1 somewhere in its number.
    size_t expected = 0;
    for (int i = 0; i < 20000; ++i)
        expected += i % 7 == 0 && std::to_string(i).find('1') != std::string::npos;
    EXPECT_EQ(search.model()->rowCount(), int(expected));
}

}  // namespace
