// Undo and redo: items, selection and focus come back exactly.

#include "TestServices.h"
#include "UndoHistory.h"

#include <gtest/gtest.h>

namespace {

struct Undo : ::testing::Test {
    service_ptr_t<playlists::PlaylistManager> m = newManager();
    void SetUp() override {
        m->create_playlist("A", SIZE_MAX, SIZE_MAX);
        m->create_playlist("B", SIZE_MAX, SIZE_MAX);
        m->playlist_add_items(0, tracks({"a", "b", "c", "d"}), bit_array_range(1, 2));
        m->playlist_set_focus_item(0, 2);
    }
    std::string state(size_t playlist = 0) {
        std::string out;
        for (const auto& n : names(*m, playlist)) out += n;
        return out + " sel=" +
               bits(m->playlist_get_selection_mask(playlist), m->playlist_get_item_count(playlist)) +
               " focus=" + num(m->playlist_get_focus_item(playlist));
    }
};

}  // namespace

TEST_F(Undo, CutThenUndoAndRedoRoundTrip) {
    const std::string before = state();
    m->playlist_undo_backup(0);
    m->playlist_remove_selection(0);
    const std::string after = state();
    EXPECT_EQ(after, "ad sel=00 focus=1");

    EXPECT_TRUE(m->playlist_undo_restore(0));
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(m->playlist_is_undo_available(0));
    EXPECT_TRUE(m->playlist_redo_restore(0));
    EXPECT_EQ(state(), after);
    EXPECT_FALSE(m->playlist_redo_restore(0));
    EXPECT_TRUE(m->playlist_undo_restore(0));
    EXPECT_EQ(state(), before);
}

TEST_F(Undo, StepsBackThroughSeveralEditsAndANewEditDropsRedo) {
    m->playlist_undo_backup(0);
    const size_t reverse[] = {3, 2, 1, 0};
    m->playlist_reorder_items(0, reverse, 4);
    const std::string reversed = state();
    m->playlist_undo_backup(0);
    m->playlist_add_items(0, tracks({"e"}), bit_array_true());
    m->playlist_set_focus_item(0, SIZE_MAX);

    EXPECT_TRUE(m->playlist_undo_restore(0));
    EXPECT_EQ(state(), reversed);
    EXPECT_TRUE(m->playlist_undo_restore(0));
    EXPECT_EQ(state(), "abcd sel=0110 focus=2");
    EXPECT_FALSE(m->playlist_undo_restore(0));
    EXPECT_TRUE(m->playlist_redo_restore(0));
    m->playlist_undo_backup(0);
    EXPECT_FALSE(m->playlist_is_redo_available(0));
    // Each playlist has its own history.
    EXPECT_FALSE(m->playlist_undo_restore(1));
}

TEST_F(Undo, HistoryIsBounded) {
    for (int n = 0; n < 40; ++n) {
        m->playlist_undo_backup(0);
        m->playlist_add_items(0, tracks({"x"}), bit_array_false());
    }
    int undone = 0;
    while (m->playlist_undo_restore(0)) ++undone;
    EXPECT_EQ(undone, int(playlists::UndoHistory::kDefaultDepth));
    EXPECT_EQ(m->playlist_get_item_count(0), 4u + 40u - 32u);
}

TEST_F(Undo, ARestoreIsAnnouncedAsItsRemovalAndAdding) {
    m->playlist_undo_backup(0);
    m->playlist_remove_items(0, bit_array_one(0));
    EventLog log;
    m->register_callback(&log, playlist_callback::flag_all);
    EXPECT_TRUE(m->playlist_undo_restore(0));
    m->unregister_callback(&log);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"removing 0 111 3->0", "removed 0 111 3->0", "focus 0 1->none",
                                        "added 0 0 [a,b,c,d] sel=0110", "focus 0 none->2"}));
}
