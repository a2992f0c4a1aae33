// The playlist's selection in step with the host's, sorting by a header
// click, the search bar, keys by position, and the row backgrounds.

#include "ClassicSettings.h"
#include "KeyPosition.h"
#include "MainMenu.h"
#include "MenuShortcut.h"
#include "PlaylistFixture.h"
#include "Printers.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>

namespace {

using Paths = std::vector<std::string>;
using Items = std::vector<size_t>;
namespace vk = platform::vk;

class PlaylistSelection : public PlaylistTest {
protected:
    ~PlaylistSelection() override { platform::MainMenu::setBar(nullptr); }

    void focusTable() {
        controller->view()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(controller->view()));
        table()->setFocus();
    }
    // A key as the window system sends it: the shortcut question first, then
    // the key; whether the table took it ahead of the menus' shortcuts.
    bool press(int key, Qt::KeyboardModifiers mods, int position, const QString& text) {
        const auto scan = quint32(platform::scanCodeForKeyPosition(position));
        QKeyEvent question(QEvent::ShortcutOverride, key, mods, scan, 0, 0, text);
        QApplication::sendEvent(table(), &question);
        QKeyEvent event(QEvent::KeyPress, key, mods, scan, 0, 0, text);
        QApplication::sendEvent(table(), &event);
        return question.isAccepted();
    }
    void clickHeader(const QString& identifier) {
        QHeaderView* header = table()->horizontalHeader();
        const int logical = model()->columnOf(identifier);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(logical) + 10, header->height() / 2});
        settle();
    }
    Qt::SortOrder indicator() const { return table()->horizontalHeader()->sortIndicatorOrder(); }
    std::string titles(size_t playlist) {
        std::string out;
        for (const std::string& path : host.paths(playlist)) out += path.substr(path.rfind('/') + 1, 1);
        return out;
    }
};

metadb_handle_list lettered(const char* order, std::initializer_list<double> seconds = {}) {
    metadb_handle_list out;
    auto length = seconds.begin();
    for (const char* c = order; *c; ++c) {
        const std::string name(1, *c);
        out.push_back(tagged("/m/" + name + ".flac", {{"title", name.c_str()}},
                             length != seconds.end() ? *length++ : 60));
    }
    return out;
}

TEST_F(PlaylistSelection, SelectionFollowsTheHostAndTheHostTheTable) {
    cfg_groupBy.set("album");
    const size_t p = host.showPlaylist(
        "Music", {tagged("/m/1.flac", {{"album", "A"}}), tagged("/m/2.flac", {{"album", "A"}}),
                  tagged("/m/3.flac", {{"album", "B"}})});
    show();
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_range(1, 2));
    EXPECT_EQ(table()->selectedRowList(), (std::vector<int64_t>{2, 4}));

    table()->selectionModel()->setCurrentIndex(model()->index(1, 0), QItemSelectionModel::NoUpdate);
    table()->selectRows({1, 2});
    EXPECT_EQ(host.selection(p), (Items{0, 1}));
    EXPECT_EQ(host.playlists->playlist_get_focus_item(p), 0u);

    // A rebuild keeps what the host has selected.
    host.playlists->playlist_add_items(p, {tagged("/m/4.flac", {{"album", "B"}})}, bit_array_false());
    settle();
    EXPECT_EQ(table()->selectedRowList(), (std::vector<int64_t>{1, 2}));
}

TEST_F(PlaylistSelection, HeaderRowsTakeNoSelectionFromClicksOrArrowKeys) {
    cfg_groupBy.set("album");
    // Rows: header A, 0, 1, header B, 2.
    const size_t p = host.showPlaylist(
        "Music", {tagged("/m/1.flac", {{"album", "A"}}), tagged("/m/2.flac", {{"album", "A"}}),
                  tagged("/m/3.flac", {{"album", "B"}})});
    show();
    focusTable();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCenter(2));
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCenter(3));
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCenter(0));
    EXPECT_EQ(host.selection(p), (Items{1}));

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCenter(2));
    QTest::keyClick(table(), Qt::Key_Down);
    EXPECT_EQ(host.selection(p), (Items{2}));
    QTest::keyClick(table(), Qt::Key_Up);
    EXPECT_EQ(host.selection(p), (Items{1}));
    QTest::keyClick(table(), Qt::Key_Up);
    QTest::keyClick(table(), Qt::Key_Up);  // nothing above but the first header
    EXPECT_EQ(host.selection(p), (Items{0}));
    QTest::keyClick(table(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(table(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(host.selection(p), (Items{0, 1, 2}));
}

TEST_F(PlaylistSelection, ArrowKeysGoOnFromTheSelectionAfterARebuildOrTheHostsChange) {
    metadb_handle_list tracks;
    for (int i = 0; i < 200; ++i) tracks.push_back(tagged("/m/" + std::to_string(i) + ".flac"));
    const size_t p = host.showPlaylist("Music", tracks);
    show();
    focusTable();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCenter(2));
    controller->rebuild();  // as after a play count changed
    QTest::keyClick(table(), Qt::Key_Down);
    EXPECT_EQ(host.selection(p), (Items{3}));

    // The host selects and focuses elsewhere: the view does not scroll for
    // it, and the keys go on from there.
    table()->scrollToBottom();
    const int scrolled = table()->verticalScrollBar()->value();
    host.playlists->playlist_set_focus_item(p, 150);
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_range(150, 2));
    EXPECT_EQ(table()->verticalScrollBar()->value(), scrolled);
    QTest::keyClick(table(), Qt::Key_Down);
    EXPECT_EQ(host.selection(p), (Items{151}));
}

TEST_F(PlaylistSelection, ColumnsComeAndGoUnderTheSelection) {
    cfg_columns.set("title\t100\nartist\t100");
    const size_t p = host.showPlaylist("Music", lettered("abc"));
    show();
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_range(0, 2));
    const auto shownWhole = [&] {
        return table()->selectionModel()->isRowSelected(0, {}) &&
               table()->selectionModel()->isRowSelected(1, {}) &&
               !table()->selectionModel()->isRowSelected(2, {});
    };
    controller->toggleColumn("index");
    EXPECT_TRUE(shownWhole());
    controller->toggleColumn("title");
    EXPECT_TRUE(shownWhole());
    cfg_columns.set("title\t100\ncustom\t150\tGenre\t%genre%");  // as "More..." stores it
    controller->loadColumns();
    EXPECT_TRUE(shownWhole());
    controller->toggleColumn("title");
    controller->removeCustom(model()->columns()[0].identifier);
    EXPECT_EQ(model()->columnCount(), 0);
    EXPECT_EQ(host.selection(p), (Items{0, 1}));
}

TEST_F(PlaylistSelection, HeaderClicksSortAscendingThenFlipAndKeepTiesInOrder) {
    cfg_columns.set("index\t50\ntitle\t100\nduration\t60\nplaying\t60");
    const size_t p = host.showPlaylist("Music", lettered("cadb", {120, 60, 120, 60}));
    show();
    clickHeader("title");
    EXPECT_EQ(titles(p), "abcd");
    EXPECT_EQ(indicator(), Qt::AscendingOrder);
    clickHeader("title");
    EXPECT_EQ(titles(p), "dcba");
    EXPECT_EQ(indicator(), Qt::DescendingOrder);
    clickHeader("title");
    EXPECT_EQ(titles(p), "abcd");

    // Another column after a descending sort starts ascending; equal lengths
    // keep their order.
    clickHeader("title");
    clickHeader("duration");  // a and b are 1:00, c and d 2:00
    EXPECT_EQ(titles(p), "badc");
    EXPECT_EQ(table()->horizontalHeader()->sortIndicatorSection(), model()->columnOf("duration"));

    // The index column: as it stands, reversed, as it stands, reversed back.
    for (const char* expected : {"badc", "cdab", "cdab", "badc"}) {
        clickHeader("index");
        EXPECT_EQ(titles(p), expected);
    }
    // The playing column sorts nothing and keeps the indicator.
    clickHeader("playing");
    EXPECT_EQ(titles(p), "badc");
    EXPECT_EQ(table()->horizontalHeader()->sortIndicatorSection(), model()->columnOf("index"));
    controller->doUndo(false);
    EXPECT_EQ(titles(p), "cdab");

    // Another playlist forgets the sort: the next click is ascending again.
    clickHeader("title");
    EXPECT_EQ(indicator(), Qt::AscendingOrder);
    host.showPlaylist("Other", lettered("zy"));
    settle();
    EXPECT_EQ(table()->horizontalHeader()->sortIndicatorSection(), -1);
    host.playlists->set_active_playlist(p);
    settle();
    clickHeader("title");
    EXPECT_EQ(indicator(), Qt::AscendingOrder);
}

TEST_F(PlaylistSelection, SearchFindsEveryWordIgnoringAccentsAndReturnCycles) {
    const size_t p =
        host.showPlaylist("Music", {tagged("/m/1.flac", {{"artist", "Ann"}, {"title", "Résumé"}}),
                                    tagged("/m/2.flac", {{"artist", "Bo"}, {"title", "Resume Two"}}),
                                    tagged("/m/3.flac", {{"artist", "Ann"}, {"title", "Other"}}),
                                    tagged("/m/4.flac", {{"artist", "Ann"}, {"title", "RESUME"}})});
    show();
    focusTable();
    EXPECT_FALSE(controller->searchBar()->isVisible());
    press(Qt::Key_F, Qt::ControlModifier, vk::F, "\x06");
    EXPECT_TRUE(controller->searchBar()->isVisible());
    EXPECT_TRUE(controller->searchField()->hasFocus());

    QTest::keyClicks(controller->searchField(), "resume");
    EXPECT_EQ(controller->searchInfo()->text(), "3 found");
    EXPECT_EQ(host.selection(p), (Items{0, 1, 3}));
    EXPECT_EQ(host.playlists->playlist_get_focus_item(p), 0u);
    for (const char* label : {"2 of 3", "3 of 3", "1 of 3"}) {
        QTest::keyClick(controller->searchField(), Qt::Key_Return);
        EXPECT_EQ(controller->searchInfo()->text(), label);
    }
    EXPECT_EQ(host.selection(p), (Items{0, 1, 3}));

    QTest::keyClicks(controller->searchField(), " ann");
    EXPECT_EQ(controller->searchInfo()->text(), "2 found");
    QTest::keyClicks(controller->searchField(), "x");
    EXPECT_EQ(controller->searchInfo()->text(), "Not found");
    EXPECT_EQ(host.selection(p), Items{});

    QTest::keyClick(controller->searchField(), Qt::Key_Escape);
    EXPECT_FALSE(controller->searchBar()->isVisible());
    EXPECT_TRUE(table()->hasFocus());
    controller->searchField()->setText("two");
    controller->showSearch();  // showing again searches again
    EXPECT_EQ(host.selection(p), Items{1});
}

TEST_F(PlaylistSelection, CommandKeysWorkByPositionOnALayoutWithoutLatinLetters) {
    const size_t p = host.showPlaylist("Music", lettered("abc"));
    show();
    focusTable();
    QMenuBar bar;
    QMenu* edit = bar.addMenu("Edit");
    QStringList fired;
    const auto add = [&](QMenu* menu, const char* name, QKeySequence shortcut) {
        QAction* a = menu->addAction(name, [&fired, name] { fired.append(name); });
        a->setShortcut(shortcut);
        return a;
    };
    add(edit, "Copy", Qt::CTRL | Qt::Key_C);
    QAction* disabled = add(edit, "Close", Qt::CTRL | Qt::Key_W);
    disabled->setEnabled(false);
    add(edit->addMenu("More"), "Copy Path", Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    platform::MainMenu::setBar(&bar);

    // Cyrillic: the keys at A, C, C with Shift, W type Ф, С, С, Ц.
    EXPECT_TRUE(press(0x424, Qt::ControlModifier, vk::A, QString(QChar(0x444))));
    EXPECT_EQ(host.selection(p), (Items{0, 1, 2}));
    press(0x421, Qt::ControlModifier, vk::C, QString(QChar(0x441)));
    press(0x421, Qt::ControlModifier | Qt::ShiftModifier, vk::C, QString(QChar(0x421)));
    press(0x426, Qt::ControlModifier, vk::W, QString(QChar(0x446)));
    EXPECT_EQ(fired, (QStringList{"Copy", "Copy Path"}));
    // A Latin key is the menus' own business.
    EXPECT_FALSE(press(Qt::Key_C, Qt::ControlModifier, vk::C, "\x03"));
    EXPECT_EQ(fired.size(), 2);

    EXPECT_EQ(latinForKeyCode(vk::M), QChar('m'));
    EXPECT_FALSE(latinForKeyCode(vk::Key1));
    EXPECT_FALSE(latinForKeyCode(vk::Return));

    // Return plays the selected row.
    table()->selectionModel()->setCurrentIndex(model()->index(1, 0), QItemSelectionModel::NoUpdate);
    press(Qt::Key_Return, Qt::NoModifier, vk::Return, "\r");
    EXPECT_EQ(host.played, (std::vector<std::pair<size_t, size_t>>{{p, 1}}));
}

TEST_F(PlaylistSelection, SelectedAndPlayingRowsAreFilledByTheme) {
    cfg_columns.set("title\t200");
    const size_t p = host.showPlaylist("Music", lettered("abc"));
    show();
    EXPECT_FALSE(QovClassicTableView::selectionFill());
    cfg_accent.set("FF0000");
    EXPECT_EQ(QovClassicTableView::selectionFill(), QColor::fromRgbF(1, 0, 0, 0.45f));
    cfg_theme.set(kThemeMonochrome);
    EXPECT_EQ(QovClassicTableView::selectionFill(), QColor::fromRgbF(1, 1, 1, 0.16f));

    cfg_theme.set(kThemeLight);
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(0));
    host.playlists->setPlayingLocation(p, 2);
    const QImage shot = viewport()->grab().toImage();
    const QColor base = viewport()->palette().color(QPalette::Base);
    const auto over = [&](double r, double g, double b, double alpha) {
        return QColor::fromRgbF(float(r * alpha + base.redF() * (1 - alpha)),
                                float(g * alpha + base.greenF() * (1 - alpha)),
                                float(b * alpha + base.blueF() * (1 - alpha)));
    };
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
               std::abs(a.blue() - b.blue()) <= 2;
    };
    const QPoint empty(viewport()->width() - 5, 0);  // right of the column: the row's own fill
    EXPECT_TRUE(near(shot.pixelColor(rowRect(0).topLeft() + empty + QPoint(0, 3)), over(1, 0, 0, 0.45)));
    // Within the cell, the fill in place of the platform's highlight.
    EXPECT_TRUE(near(shot.pixelColor(rowRect(0).topLeft() + QPoint(190, 3)), over(1, 0, 0, 0.45)));
    EXPECT_TRUE(near(shot.pixelColor(rowRect(2).topLeft() + empty + QPoint(0, 3)), over(1, 0, 0, 0.22)));
    EXPECT_TRUE(near(shot.pixelColor(rowRect(1).topLeft() + empty + QPoint(0, 3)), base));
}

}  // namespace
