// The Ovix footer against the host's playlist manager.

#include "OvixTestHost.h"
#include "playlist_callback.h"
#include "QovOvixFooter.h"
#include "standard_commands.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Items = std::vector<size_t>;

class EnsureVisibleLog : public playlist_callback_impl_base {
public:
    EnsureVisibleLog() : playlist_callback_impl_base(flag_on_item_ensure_visible) {}
    void on_item_ensure_visible(size_t playlist, size_t item) override { asked.emplace_back(playlist, item); }
    std::vector<std::pair<size_t, size_t>> asked;
};

class OvixFooter : public ::testing::Test {
protected:
    ~OvixFooter() override { controller.reset(); }

    QovOvixFooter& show() {
        controller = std::make_unique<QovOvixFooter>();
        controller->view()->show();
        return *controller;
    }
    service_ptr_t<MemoryTrack> song(const std::string& artist, const std::string& title,
                                    const std::string& album) {
        return memoryTrack(title + ".flac", {{"artist", artist}, {"title", title}, {"album", album}}, 10,
                           1000);
    }

    OvixTestHost host;
    std::unique_ptr<QovOvixFooter> controller;
};

TEST_F(OvixFooter, TotalsOfTheActivePlaylist) {
    host.showPlaylist("Mix", {memoryTrack("a.flac", {}, 200, 5'000'000),
                              memoryTrack("b.flac", {}, 100.4, 3'000'000), memoryTrack("c.flac", {}, 0, -1)});
    QovOvixFooter& f = show();
    EXPECT_EQ(f.statsLabel()->text(), QStringLiteral("3 / 5:00 / 8 MB"));
    host.showPlaylist("Empty", {});
    f.refresh();
    EXPECT_EQ(f.statsLabel()->text(), QStringLiteral("0 / 0:00 / Zero KB"));
    host.playlists->set_active_playlist(SIZE_MAX);
    f.refresh();
    EXPECT_TRUE(f.statsLabel()->text().isEmpty());
}

TEST_F(OvixFooter, QuickSearchSelectsAndRevealsTheFirstMatchAcrossCaseAndAccents) {
    const size_t p = host.showPlaylist("Mix", {song("Alpha", "Intro", "First"),
                                               song("Drums",
                                                    "B\xc3\xa9"
                                                    "at It",
                                                    "X"),
                                               song("BEAT", "Two", "Y"), song("Zed", "End", "Beats")});
    QovOvixFooter& f = show();
    EnsureVisibleLog log;
    QTest::keyClicks(f.searchField(), QStringLiteral("beat"));
    EXPECT_EQ(host.selection(p), Items{1});
    EXPECT_EQ(host.playlists->playlist_get_focus_item(p), 1u);
    EXPECT_EQ(log.asked.back(), std::make_pair(p, size_t(1)));

    f.searchField()->setText(QStringLiteral("BEAT T"));
    EXPECT_EQ(host.selection(p), Items{2});
    f.searchField()->setText(QStringLiteral("nowhere"));
    EXPECT_EQ(host.selection(p), Items{2});
    f.searchField()->clear();
    EXPECT_EQ(host.selection(p), Items{2});
}

TEST_F(OvixFooter, RemoveTakesTheSelectionAndAddAsksTheHost) {
    const size_t p =
        host.showPlaylist("Mix", {song("A", "1", "X"), song("A", "2", "X"), song("A", "3", "X")});
    QovOvixFooter& f = show();
    f.onRemove();
    EXPECT_EQ(host.playlists->playlist_get_item_count(p), 3u);
    host.playlists->playlist_set_selection(p, bit_array_true(), bit_array_one(1));
    f.onRemove();
    EXPECT_EQ(host.playlists->playlist_get_item_count(p), 2u);

    f.onAdd();
    ASSERT_EQ(host.menu->ran.size(), 1u);
    EXPECT_EQ(host.menu->ran[0], standard_commands::guid_main_add_files);
}

}  // namespace
