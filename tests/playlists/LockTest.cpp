// Locks: every guarded edit is asked about, and a refusal changes nothing.

#include "TestServices.h"

#include <gtest/gtest.h>

using playlists::PlaylistManager;
using Strings = std::vector<std::string>;

namespace {

struct Edit {
    const char* name;
    uint32_t filter;
    std::function<bool(PlaylistManager&)> run;
};

const size_t kReverse[] = {2, 1, 0};

const std::vector<Edit> kEdits = {
    {"add", playlist_lock::filter_add,
     [](PlaylistManager& m) {
         return m.playlist_insert_items(0, 1, tracks({"x"}), bit_array_true()) != SIZE_MAX;
     }},
    {"remove", playlist_lock::filter_remove,
     [](PlaylistManager& m) { return m.playlist_remove_items(0, bit_array_one(0)); }},
    {"reorder", playlist_lock::filter_reorder,
     [](PlaylistManager& m) { return m.playlist_reorder_items(0, kReverse, 3); }},
    {"replace", playlist_lock::filter_replace,
     [](PlaylistManager& m) { return m.playlist_replace_item(0, 1, track("x")); }},
    {"rename", playlist_lock::filter_rename,
     [](PlaylistManager& m) { return m.playlist_rename(0, "Other", SIZE_MAX); }},
    {"remove playlist", playlist_lock::filter_remove_playlist,
     [](PlaylistManager& m) { return m.remove_playlist(0); }},
    {"remove all playlists", playlist_lock::filter_remove_playlist,
     [](PlaylistManager& m) { return m.remove_playlists(bit_array_true()); }},
    {"undo", playlist_lock::filter_remove | playlist_lock::filter_add,
     [](PlaylistManager& m) { return m.playlist_undo_restore(0); }},
};

// Everything a refused edit must leave alone.
std::string snapshot(PlaylistManager& m) {
    std::string out;
    for (size_t p = 0; p < m.get_playlist_count(); ++p) {
        cvk::stringLite name;
        m.playlist_get_name(p, name);
        out += std::string(name.c_str()) + ":" + list([&] {
                   metadb_handle_list items;
                   m.playlist_get_all_items(p, items);
                   return items;
               }()) +
               bits(m.playlist_get_selection_mask(p), m.playlist_get_item_count(p)) +
               num(m.playlist_get_focus_item(p)) + ";";
    }
    return out;
}

// Two playlists, the first locked by `lock`, with an undo step ready.
void prepare(PlaylistManager& m, const service_ptr_t<TestLock>& lock) {
    m.create_playlist("Locked", SIZE_MAX, SIZE_MAX);
    m.create_playlist("Free", SIZE_MAX, SIZE_MAX);
    m.playlist_add_items(0, tracks({"a", "b", "c"}), bit_array_one(1));
    m.playlist_set_focus_item(0, 2);
    m.playlist_undo_backup(0);
    m.playlist_add_items(0, tracks({"d"}), bit_array_false());
    m.playlist_remove_items(0, bit_array_one(3));
    ASSERT_TRUE(m.playlist_lock_install(0, lock));
}

struct Locked : ::testing::Test {
    service_ptr_t<PlaylistManager> m = newManager();
    service_ptr_t<TestLock> lock = service_new<TestLock>();
    EventLog log;
    void SetUp() override { prepare(*m, lock); }
    void TearDown() override { m->unregister_callback(&log); }
};

}  // namespace

TEST_F(Locked, EveryGuardedEditIsRefusedWithoutAChange) {
    m->register_callback(&log, playlist_callback::flag_all);
    for (const Edit& edit : kEdits) {
        SCOPED_TRACE(edit.name);
        lock->mask = edit.filter;
        lock->asked.clear();
        const std::string before = snapshot(*m);
        EXPECT_FALSE(edit.run(*m));
        EXPECT_EQ(snapshot(*m), before);
        EXPECT_FALSE(lock->asked.empty());
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_TRUE(m->playlist_is_undo_available(0));
}

TEST(LockMasks, EditsOutsideTheMaskAreNotAskedAbout) {
    for (const Edit& edit : kEdits) {
        SCOPED_TRACE(edit.name);
        auto m = newManager();
        auto lock = service_new<TestLock>();
        // Every other bit; undo would still meet reorder and replace, which a
        // restore cannot be asked about, so it gets the unrelated bits only.
        lock->mask = std::string(edit.name) == "undo"
                         ? playlist_lock::filter_rename | playlist_lock::filter_remove_playlist
                         : ~edit.filter;
        prepare(*m, lock);
        EXPECT_TRUE(edit.run(*m));
        EXPECT_EQ(lock->asked, Strings{});
    }
}

TEST_F(Locked, AnAllowingLockSeesTheEditItIsAskedAbout) {
    lock->mask = ~0u;
    lock->refuse = 0;
    EXPECT_EQ(m->playlist_insert_items(0, 1, tracks({"x", "y"}), bit_array_one(0)), 1u);
    const size_t order[] = {4, 3, 2, 1, 0};
    EXPECT_TRUE(m->playlist_reorder_items(0, order, 5));
    EXPECT_TRUE(m->playlist_remove_items(0, bit_array_range(0, 2)));
    EXPECT_TRUE(m->playlist_replace_item(0, 0, track("z")));
    EXPECT_TRUE(m->playlist_rename(0, "Renamed", 5));
    EXPECT_EQ(lock->asked, (Strings{"add 1 [x,y] sel=10", "reorder [4,3,2,1,0]", "remove 1100",
                                    "replace 0 y->z", "rename Renam"}));
}

TEST_F(Locked, TheClassicMaskAllowsRenameAndReplaceOnly) {
    lock->mask = 0x27;
    EXPECT_EQ(m->playlist_add_items(0, tracks({"x"}), bit_array_false()), SIZE_MAX);
    EXPECT_FALSE(m->playlist_remove_selection(0));
    EXPECT_FALSE(m->remove_playlist_switch(0));
    EXPECT_TRUE(m->playlist_rename(0, "Still locked", SIZE_MAX));
    EXPECT_TRUE(m->playlist_replace_item(0, 0, track("z")));
    EXPECT_EQ(lock->asked, (Strings{"add 3 [x] sel=0", "remove 0100", "remove_playlist"}));
    // Selection and focus are the user's, never the lock's.
    m->playlist_set_selection(0, bit_array_true(), bit_array_true());
    EXPECT_EQ(bits(m->playlist_get_selection_mask(0), 3), "111");
}

TEST_F(Locked, DefaultActionGoesToTheLockFirst) {
    std::vector<size_t> played;
    m->setPlayItem([&](size_t, size_t item) {
        played.push_back(item);
        return true;
    });
    lock->mask = playlist_lock::filter_default_action;
    lock->takeDefaultAction = true;
    EXPECT_TRUE(m->playlist_execute_default_action(0, 1));
    lock->takeDefaultAction = false;
    EXPECT_TRUE(m->playlist_execute_default_action(0, 2));
    lock->mask = 0;
    EXPECT_TRUE(m->playlist_execute_default_action(0, 0));
    EXPECT_EQ(played, (std::vector<size_t>{2, 0}));
    EXPECT_EQ(lock->asked, (Strings{"default_action 1", "default_action 2"}));
}

TEST_F(Locked, InstallingAndUninstalling) {
    m->register_callback(&log, playlist_callback::flag_on_playlist_locked);
    auto other = service_new<TestLock>();
    EXPECT_FALSE(m->playlist_lock_install(0, other));  // one per playlist
    EXPECT_FALSE(m->playlist_lock_install(5, other));
    EXPECT_FALSE(m->playlist_lock_uninstall(0, other));
    cvk::stringLite name;
    EXPECT_TRUE(m->playlist_lock_query_name(0, name));
    EXPECT_STREQ(name.c_str(), "Test lock");
    EXPECT_FALSE(m->playlist_lock_query_name(1, name));
    EXPECT_TRUE(m->playlist_lock_uninstall(0, lock));
    EXPECT_TRUE(m->playlist_lock_install(1, other));
    EXPECT_FALSE(m->playlist_lock_is_present(0));
    EXPECT_EQ(log.events, (Strings{"locked 0 false", "locked 1 true"}));
    EXPECT_EQ(lock->removedCalls, 0);
}

TEST_F(Locked, TheLockFollowsItsPlaylistAndLearnsOfItsEnd) {
    m->create_playlist("Front", SIZE_MAX, 0);
    const size_t order[] = {0, 2, 1};
    m->reorder_playlists(order, 3);
    EXPECT_EQ(lock->indexChanges, (std::vector<size_t>{1, 2}));
    EXPECT_TRUE(m->playlist_lock_is_present(2));
    EXPECT_TRUE(m->remove_playlist(2));
    EXPECT_EQ(lock->removedCalls, 1);
}

TEST_F(Locked, ReleasedAtShutdownWithoutBeingCalled) {
    lock->mask = ~0u;
    m->releaseLocks();
    EXPECT_FALSE(m->playlist_lock_is_present(0));
    EXPECT_FALSE(m->playlist_lock_install(1, service_new<TestLock>()));
    EXPECT_TRUE(m->remove_playlist(0));
    EXPECT_EQ(lock->removedCalls, 0);
    EXPECT_TRUE(lock->asked.empty());
}

namespace {
// Removes playlists while it is asked: the edit it was asked about is then stale.
class MeddlingLock : public TestLock {
public:
    PlaylistManager* manager = nullptr;
    size_t victim = 0;
    bool query_items_add(size_t, const metadb_handle_list&, const bit_array&) override {
        return manager->remove_playlist(victim);
    }
    bool query_playlist_remove() override { return victim == 0 || manager->remove_playlist(victim); }
};
}  // namespace

TEST_F(Locked, ALockThatChangesThePlaylistsWhileAskedCannotConfuseTheEdit) {
    m->playlist_lock_uninstall(0, lock);
    auto meddling = service_new<MeddlingLock>();
    meddling->manager = m.get_ptr();
    meddling->mask = ~0u;
    ASSERT_TRUE(m->playlist_lock_install(0, meddling));
    EXPECT_EQ(m->playlist_add_items(0, tracks({"x"}), bit_array_false()), SIZE_MAX);  // removed its own
    ASSERT_EQ(m->get_playlist_count(), 1u);

    m->create_playlist("Second", SIZE_MAX, SIZE_MAX);
    ASSERT_TRUE(m->playlist_lock_install(0, meddling));
    meddling->victim = 1;
    EXPECT_FALSE(m->remove_playlists(bit_array_true()));
    EXPECT_EQ(m->get_playlist_count(), 1u);
}
