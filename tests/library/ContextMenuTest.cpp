#include "ContextMenu.h"
#include "FakePlaylists.h"
#include "LibraryTestSupport.h"
#include "Metadb.h"

#include "contextmenu.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

using library::Metadb;

namespace {

// One line per child: "Name", "Name >" for a submenu, "---" for a separator,
// with " [x]" when checked and " (off)" when disabled.
std::vector<std::string> describe(const contextmenu_node* node) {
    std::vector<std::string> out;
    for (size_t i = 0; i < node->get_num_children(); ++i) {
        const contextmenu_node* child = node->get_child(i);
        cvk::stringLite name;
        uint32_t flags = 0;
        const bool shown = child->get_display_data(name, flags);
        if (child->get_type() == contextmenu_node::type_separator) {
            EXPECT_FALSE(shown);
            out.push_back("---");
            continue;
        }
        std::string line = name.str();
        if (child->get_type() == contextmenu_node::type_popup) line += " >";
        if (flags & contextmenu_node::flag_checked) line += " [x]";
        if (flags & (contextmenu_node::flag_disabled | contextmenu_node::flag_grayed)) line += " (off)";
        out.push_back(line);
    }
    EXPECT_EQ(node->get_child(node->get_num_children()), nullptr);
    return out;
}

contextmenu_node* find(contextmenu_node* node, std::initializer_list<const char*> path) {
    for (const char* wanted : path) {
        contextmenu_node* next = nullptr;
        for (size_t i = 0; node && i < node->get_num_children() && !next; ++i) {
            cvk::stringLite name;
            uint32_t flags;
            if (node->get_child(i)->get_display_data(name, flags) && name.str() == wanted)
                next = node->get_child(i);
        }
        node = next;
    }
    return node;
}

class ContextMenu : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        metadb_handle_list tracks;
        for (const char* name : {"a.flac", "b.flac", "c.flac", "d.flac"})
            tracks.push_back(Metadb::instance().handleFor(m_dir.file(name)));
        // Items 1 and 3 selected.
        FakePlaylists::instance().reset(tracks, {false, true, false, true});
        Metadb::instance().setRating(tracks, 0);
    }
    void TearDown() override {
        FakePlaylists::instance().reset({}, {});
        library::setPropertiesHandler({});
    }

    static service_ptr_t<contextmenu_manager> playlistMenu() {
        auto menu = contextmenu_manager::g_create();
        menu->init_context_playlist(contextmenu_manager::flag_view_full);
        return menu;
    }
    static void run(const service_ptr_t<contextmenu_manager>& menu, std::initializer_list<const char*> path) {
        contextmenu_node* node = find(menu->get_root(), path);
        ASSERT_NE(node, nullptr);
        node->execute();
    }
    static std::vector<std::pair<size_t, size_t>> queued() {
        std::vector<std::pair<size_t, size_t>> out;
        for (const auto& e : FakePlaylists::instance().queue) out.emplace_back(e.playlist, e.item);
        return out;
    }
    const metadb_handle_list& tracks() const { return FakePlaylists::instance().items; }

    MediaFixtures::Scratch m_dir;
};

TEST_F(ContextMenu, TreeForThePlaylistSelection) {
    auto menu = playlistMenu();
    contextmenu_node* root = menu->get_root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->get_type(), contextmenu_node::type_group);
    EXPECT_EQ(describe(root),
              (std::vector<std::string>{"Play", "Add to Playback Queue", "---", "Open Containing Folder",
                                        "Copy Path", "---", "Rating >", "---", "Properties (off)"}));
    EXPECT_EQ(describe(find(root, {"Rating"})),
              (std::vector<std::string>{"1 Star", "2 Stars", "3 Stars", "4 Stars", "5 Stars", "---",
                                        "Clear (off)"}));
    EXPECT_FALSE(find(root, {"Play"})->get_guid() == pfc_guid_null);
    EXPECT_TRUE(find(root, {"Rating"})->get_guid() == pfc_guid_null);
    // Each fetch is a manager of its own.
    EXPECT_NE(contextmenu_manager::g_create().get_ptr(), menu.get_ptr());
    EXPECT_EQ(contextmenu_manager::g_create()->get_root(), nullptr);
}

TEST_F(ContextMenu, QueueCommandsActOnTheSelectedItems) {
    run(playlistMenu(), {"Add to Playback Queue"});
    EXPECT_EQ(queued(), (std::vector<std::pair<size_t, size_t>>{{0, 1}, {0, 3}}));

    FakePlaylists::instance().queue_add_item_playlist(0, 2);
    auto menu = playlistMenu();
    ASSERT_NE(find(menu->get_root(), {"Remove from Playback Queue"}), nullptr);
    run(menu, {"Remove from Playback Queue"});
    EXPECT_EQ(queued(), (std::vector<std::pair<size_t, size_t>>{{0, 2}}));
    EXPECT_EQ(find(playlistMenu()->get_root(), {"Remove from Playback Queue"}), nullptr);

    run(playlistMenu(), {"Play"});
    EXPECT_EQ(FakePlaylists::instance().played, std::vector<size_t>{1});
}

TEST_F(ContextMenu, AStaleMenuLeavesChangedItemsAlone) {
    auto menu = playlistMenu();
    FakePlaylists::instance().items[1] = Metadb::instance().handleFor(m_dir.file("other.flac"));
    run(menu, {"Add to Playback Queue"});
    EXPECT_EQ(queued(), (std::vector<std::pair<size_t, size_t>>{{0, 3}}));
}

TEST_F(ContextMenu, RatingIsCheckedWhereTheTracksAgree) {
    run(playlistMenu(), {"Rating", "3 Stars"});
    EXPECT_EQ(Metadb::instance().statistics(tracks()[1]).rating, 3u);
    EXPECT_EQ(Metadb::instance().statistics(tracks()[3]).rating, 3u);
    EXPECT_EQ(Metadb::instance().statistics(tracks()[0]).rating, 0u);
    EXPECT_EQ(
        describe(find(playlistMenu()->get_root(), {"Rating"})),
        (std::vector<std::string>{"1 Star", "2 Stars", "3 Stars [x]", "4 Stars", "5 Stars", "---", "Clear"}));

    Metadb::instance().setRating({tracks()[3]}, 5);
    EXPECT_EQ(
        describe(find(playlistMenu()->get_root(), {"Rating"})),
        (std::vector<std::string>{"1 Star", "2 Stars", "3 Stars", "4 Stars", "5 Stars", "---", "Clear"}));
    run(playlistMenu(), {"Rating", "Clear"});
    EXPECT_EQ(Metadb::instance().statistics(tracks()[3]).rating, 0u);
}

TEST_F(ContextMenu, PlainTrackListsQueueTheTracksThemselves) {
    const auto elsewhere = Metadb::instance().handleFor(m_dir.file("elsewhere.flac"));
    auto menu = contextmenu_manager::g_create();
    menu->init_context({elsewhere, tracks()[2]}, 0);
    // The first track is in no playlist: nothing to play it from.
    EXPECT_EQ(describe(menu->get_root())[0], "Play (off)");
    run(menu, {"Add to Playback Queue"});
    ASSERT_EQ(FakePlaylists::instance().queue.size(), 2u);
    EXPECT_EQ(FakePlaylists::instance().queue[0].handle, elsewhere);
    EXPECT_EQ(FakePlaylists::instance().queue[0].playlist, SIZE_MAX);

    menu->init_context({tracks()[2]}, 0);
    run(menu, {"Play"});
    EXPECT_EQ(FakePlaylists::instance().played, std::vector<size_t>{2});

    menu->init_context({}, 0);
    EXPECT_EQ(menu->get_root()->get_num_children(), 0u);
}

TEST_F(ContextMenu, PathsAndPropertiesGoWhereTheHostSends) {
    run(playlistMenu(), {"Copy Path"});
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              m_dir.file("b.flac") + "\n" + m_dir.file("d.flac"));

    metadb_handle_list shown;
    library::setPropertiesHandler([&](const metadb_handle_list& t) { shown = t; });
    auto menu = playlistMenu();
    EXPECT_EQ(describe(menu->get_root()).back(), "Properties");
    run(menu, {"Properties"});
    EXPECT_EQ(shown, (metadb_handle_list{tracks()[1], tracks()[3]}));
}

}  // namespace
