// What listeners are told, in which order and with which arguments.

#include "PlaylistService.h"
#include "TestServices.h"

#include <gtest/gtest.h>

using Events = std::vector<std::string>;

namespace {

struct Listening : ::testing::Test {
    service_ptr_t<playlists::PlaylistManager> m = newManager();
    EventLog log;

    void SetUp() override {
        m->create_playlist("A", SIZE_MAX, SIZE_MAX);
        m->create_playlist("B", SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, tracks({"a", "b", "c", "d"}), bit_array_false());
        m->register_callback(&log, playlist_callback::flag_all);
    }
    void TearDown() override { m->unregister_callback(&log); }
};

}  // namespace

TEST_F(Listening, ItemEditsAnnounceThemselvesThenTheMovedFocus) {
    m->playlist_set_focus_item(0, 2);
    log.events.clear();
    EXPECT_EQ(m->playlist_insert_items(0, 1, tracks({"x", "y"}), bit_array_one(1)), 1u);
    const size_t order[] = {5, 4, 3, 2, 1, 0};
    EXPECT_TRUE(m->playlist_reorder_items(0, order, 6));
    EXPECT_TRUE(m->playlist_remove_items(0, bit_array_range(3, 2)));
    EXPECT_TRUE(m->playlist_replace_item(0, 0, track("z")));
    m->playlist_ensure_visible(0, 3);
    m->playlist_ensure_visible(0, 4);  // past the end: nothing
    m->notifyTracksModified({m->playlist_get_item_handle(0, 2)});
    EXPECT_EQ(log.events, (Events{
                              "added 0 1 [x,y] sel=01",
                              "focus 0 2->4",  //
                              "reordered 0 [5,4,3,2,1,0]",
                              "focus 0 4->1",  //
                              "removing 0 000110 6->4",
                              "removed 0 000110 6->4",
                              "replaced 0 1000 0:d->z",
                              "ensure_visible 0 3",
                              "modified 0 0010",
                          }));
    EXPECT_EQ(names(*m, 0), (std::vector<std::string>{"z", "c", "b", "a"}));
    EXPECT_EQ(bits(m->playlist_get_selection_mask(0), 4), "0000");
}

TEST_F(Listening, RemovingIsToldWhileTheItemsAreStillThere) {
    std::vector<size_t> counts;
    log.onEvent = [&](const std::string& e) { counts.push_back(m->playlist_get_item_count(0)); };
    m->playlist_set_focus_item(0, 1);
    EXPECT_TRUE(m->playlist_remove_items(0, bit_array_range(1, 2)));
    // The focused item went: the one after it took both its place and the focus.
    EXPECT_EQ(log.events, (Events{"focus 0 none->1", "removing 0 0110 4->2", "removed 0 0110 4->2"}));
    EXPECT_EQ(counts, (std::vector<size_t>{4, 4, 2}));
    EXPECT_EQ(m->playlist_get_focus_item(0), 1u);
    EXPECT_FALSE(m->playlist_remove_items(0, bit_array_false()));
}

TEST_F(Listening, SelectionChangesAnnounceOnlyWhatChanged) {
    m->playlist_set_selection(0, bit_array_true(), bit_array_range(0, 2));
    m->playlist_set_selection(0, bit_array_true(), bit_array_range(1, 2));
    m->playlist_set_selection(0, bit_array_true(), bit_array_range(1, 2));
    EXPECT_EQ(log.events, (Events{"selection 0 affected=11 state=11", "selection 0 affected=101 state=011"}));
}

TEST_F(Listening, PlaylistLifeCycle) {
    m->set_active_playlist(1);
    std::vector<std::string> namesWhileRemoving;
    log.onEvent = [&](const std::string& e) {
        cvk::stringLite name;
        m->playlist_get_name(1, name);
        if (e.rfind("playlists_removing", 0) == 0) namesWhileRemoving.push_back(name.c_str());
    };
    log.events.clear();
    EXPECT_EQ(m->create_playlist("New", 3, 0), 0u);
    EXPECT_TRUE(m->playlist_rename(0, "Renamed\0tail", 12));
    const size_t order[] = {2, 0, 1};
    EXPECT_TRUE(m->reorder_playlists(order, 3));
    EXPECT_TRUE(m->remove_playlists(bit_array_one(1)));
    EXPECT_TRUE(m->remove_playlist(0));
    EXPECT_EQ(log.events, (Events{
                              "created 0 New",
                              "activate 1->2",  // B moved: views keyed by the index must follow
                              "renamed 0 Renamed",
                              "playlists_reorder [2,0,1]",
                              "activate 2->0",
                              "playlists_removing 010 3->2",
                              "playlists_removed 010 3->2",
                              "playlists_removing 10 2->1",
                              "playlists_removed 10 2->1",
                              "activate 0->none",
                          }));
    EXPECT_EQ(namesWhileRemoving, (std::vector<std::string>{"Renamed", "A"}));
}

TEST_F(Listening, RemovePlaylistSwitchActivatesTheNeighbour) {
    m->create_playlist("C", SIZE_MAX, SIZE_MAX);
    m->set_active_playlist(1);
    EXPECT_TRUE(m->remove_playlist_switch(1));
    EXPECT_EQ(m->get_active_playlist(), 1u);  // C, now at B's index
    EXPECT_TRUE(m->remove_playlist_switch(1));
    EXPECT_EQ(m->get_active_playlist(), 0u);  // the last one went: its predecessor
    m->create_playlist("D", SIZE_MAX, SIZE_MAX);
    EXPECT_TRUE(m->remove_playlist_switch(1));  // not the active one
    EXPECT_EQ(m->get_active_playlist(), 0u);
    EXPECT_TRUE(m->remove_playlist_switch(0));
    EXPECT_EQ(m->get_active_playlist(), SIZE_MAX);
    EXPECT_FALSE(m->remove_playlist_switch(0));
}

TEST_F(Listening, FlagsChooseTheEvents) {
    m->modify_callback(&log, playlist_callback::flag_on_playlist_renamed);
    m->playlist_add_items(0, tracks({"e"}), bit_array_false());
    m->playlist_rename(0, "Z", SIZE_MAX);
    EXPECT_EQ(log.events, Events{"renamed 0 Z"});
}

TEST_F(Listening, UnregisteringDuringAnEventStopsEvenTheRestOfIt) {
    EventLog first, second;
    m->register_callback(&first, playlist_callback::flag_all);
    m->register_callback(&second, playlist_callback::flag_all);
    first.onEvent = [&](const std::string&) {
        m->unregister_callback(&second);
        m->unregister_callback(&first);
    };
    m->playlist_remove_items(0, bit_array_one(0));
    EXPECT_EQ(first.events, Events{"removing 0 1000 4->3"});
    EXPECT_TRUE(second.events.empty());
    EXPECT_EQ(log.events.size(), 2u);  // registered before them, it hears everything
}

TEST_F(Listening, ChangesMadeInsideAnEventArriveAfterIt) {
    EventLog editor, late;
    m->register_callback(&editor, playlist_callback::flag_on_playlist_renamed);
    editor.onEvent = [&](const std::string&) {
        m->playlist_add_items(0, tracks({"z"}), bit_array_false());
        m->register_callback(&late, playlist_callback::flag_all);
    };
    m->playlist_rename(0, "Q", SIZE_MAX);
    m->unregister_callback(&editor);
    m->unregister_callback(&late);
    // Told of the rename first, though the add happened before it was told.
    EXPECT_EQ(log.events, (Events{"renamed 0 Q", "added 0 4 [z] sel=0"}));
    // Registered during the rename, the late one starts with the next event.
    EXPECT_EQ(late.events, (Events{"added 0 4 [z] sel=0"}));
}

TEST_F(Listening, AListenerMayRemoveThePlaylistItIsToldAbout) {
    m->playlist_set_focus_item(0, 3);
    log.onEvent = [&](const std::string& e) {
        if (e.rfind("added", 0) == 0) m->remove_playlist(0);
    };
    log.events.clear();
    EXPECT_EQ(m->playlist_insert_items(0, 0, tracks({"x"}), bit_array_false()), 0u);
    EXPECT_EQ(log.events, (Events{"added 0 0 [x] sel=0", "playlists_removing 10 2->1",
                                  "playlists_removed 10 2->1", "focus 0 3->4"}));
    EXPECT_EQ(m->get_playlist_count(), 1u);
}

TEST_F(Listening, AnEditWhileToldOfARemovalStopsTheStaleRemoval) {
    log.onEvent = [&](const std::string& e) {
        if (e.rfind("removing", 0) == 0) m->playlist_insert_items(0, 0, tracks({"x"}), bit_array_false());
    };
    EXPECT_FALSE(m->playlist_remove_items(0, bit_array_one(0)));
    EXPECT_EQ(names(*m, 0), (std::vector<std::string>{"x", "a", "b", "c", "d"}));
}

namespace {
class CountingCallback : public playlist_callback_impl_base {
public:
    CountingCallback() : playlist_callback_impl_base(flag_on_playlist_created) {}
    int created = 0;
    void on_playlist_created(size_t, const char*, size_t) override { ++created; }
};
}  // namespace

TEST(HostService, OneManagerAnswersToBothInterfacesAndServesTheSdkBase) {
    playlists::PlaylistManager& host = playlists::hostPlaylistManager();
    EXPECT_EQ(static_cast<playlist_manager*>(qvn::std_api_get<playlist_manager_v2>().get_ptr()),
              static_cast<playlist_manager*>(&host));
    EXPECT_EQ(qvn::std_api_get<playlist_manager>().get_ptr(), static_cast<playlist_manager*>(&host));
    {
        CountingCallback callback;
        host.create_playlist("Seen", SIZE_MAX, SIZE_MAX);
        EXPECT_EQ(callback.created, 1);
    }
    host.create_playlist("After its owner is gone", SIZE_MAX, SIZE_MAX);
    EXPECT_EQ(host.get_playlist_count(), 2u);
}
