#include "FakeHost.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class RemovalTracker : public playlist_callback_impl_base {
public:
    RemovalTracker() : playlist_callback_impl_base(flag_on_playlists_removing) {}
};

class NewTrackAndStop : public play_callback_impl_base {
public:
    NewTrackAndStop() : play_callback_impl_base(flag_on_playback_new_track | flag_on_playback_stop) {}
};

}  // namespace

TEST(CallbackBases, PlaylistCallbackRegistersItsFlagsForItsLifetime) {
    FakePlaylistManager& host = fakePlaylists();
    playlist_callback* seen = nullptr;
    {
        RemovalTracker tracker;
        seen = &tracker;
        ASSERT_EQ(host.callbacks.count(seen), 1u);
        EXPECT_EQ(host.callbacks[seen], 0x2000u);

        const int modifies = host.modifyCalls;
        tracker.set_callback_flags(playlist_callback::flag_all);
        EXPECT_EQ(host.modifyCalls, modifies + 1);
        EXPECT_EQ(host.callbacks[seen], 0xFFFFFFFFu);

        // Dropping to 0 unregisters; coming back registers afresh.
        tracker.set_callback_flags(0);
        EXPECT_EQ(host.callbacks.count(seen), 0u);
        const int registers = host.registerCalls;
        tracker.set_callback_flags(playlist_callback::flag_on_items_added);
        EXPECT_EQ(host.registerCalls, registers + 1);
    }
    EXPECT_EQ(host.callbacks.count(seen), 0u);
}

TEST(CallbackBases, PlayCallbackRegistersItsMaskForItsLifetime) {
    FakePlayCallbackManager& host = fakePlayCallbacks();
    play_callback* seen = nullptr;
    {
        NewTrackAndStop callback;
        seen = &callback;
        ASSERT_EQ(host.callbacks.count(seen), 1u);
        EXPECT_EQ(host.callbacks[seen], 6u);
    }
    EXPECT_EQ(host.callbacks.count(seen), 0u);
}

TEST(CallbackBases, DestroyingThroughTheBaseUnregisters) {
    FakePlayCallbackManager& host = fakePlayCallbacks();
    std::unique_ptr<play_callback_impl_base> callback = std::make_unique<NewTrackAndStop>();
    callback.reset();
    EXPECT_TRUE(host.callbacks.empty());
}

TEST(PlaylistManagerHelpers, RemovePlaylistSwitchActivatesTheNeighbour) {
    auto api = qvn::std_api_get<playlist_manager>();
    FakePlaylistManager& host = fakePlaylists();

    host.reset(4, 0);
    host.active = 1;
    EXPECT_TRUE(api->remove_playlist_switch(1));
    EXPECT_EQ(host.playlists.size(), 3u);
    EXPECT_EQ(host.active, 1u);  // the one that moved into its place
    EXPECT_EQ(host.playlists[1].name, "P2");

    host.reset(3, 0);
    host.active = 2;
    EXPECT_TRUE(api->remove_playlist_switch(2));
    EXPECT_EQ(host.active, 1u);  // it was the last: the new last

    host.reset(3, 0);
    host.active = 2;
    EXPECT_TRUE(api->remove_playlist_switch(0));
    EXPECT_EQ(host.active, 1u);  // not the active one: the host's shift stands

    host.reset(1, 0);
    EXPECT_TRUE(api->remove_playlist_switch(0));
    EXPECT_EQ(host.active, SIZE_MAX);
}

TEST(PlaylistManagerHelpers, RefusedOrMissingRemovalChangesNothing) {
    auto api = qvn::std_api_get<playlist_manager>();
    FakePlaylistManager& host = fakePlaylists();
    host.reset(2, 0);
    host.active = 0;
    host.playlists[0].refuseRemoval = true;
    EXPECT_FALSE(api->remove_playlist_switch(0));
    EXPECT_FALSE(api->remove_playlist_switch(5));
    EXPECT_EQ(host.playlists.size(), 2u);
    EXPECT_EQ(host.active, 0u);
}

TEST(PlaylistManagerHelpers, SelectionHelpersWorkOnTheSelectedItems) {
    auto api = qvn::std_api_get<playlist_manager>();
    FakePlaylistManager& host = fakePlaylists();
    host.reset(1, 5);
    host.playlists[0].selected = {false, true, false, true, false};

    metadb_handle_list selected;
    api->playlist_get_selected_items(0, selected);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_STREQ(selected[0]->get_path(), "P0/1");
    EXPECT_STREQ(selected[1]->get_path(), "P0/3");

    EXPECT_TRUE(api->playlist_remove_selection(0));
    ASSERT_EQ(host.playlists[0].items.size(), 3u);
    EXPECT_STREQ(host.playlists[0].items[1]->get_path(), "P0/2");
    // Nothing selected now: nothing to remove.
    EXPECT_FALSE(api->playlist_remove_selection(0));
}

TEST(PlaylistManagerHelpers, CropKeepsOnlyTheSelection) {
    auto api = qvn::std_api_get<playlist_manager>();
    FakePlaylistManager& host = fakePlaylists();
    host.reset(1, 4);
    host.playlists[0].selected = {false, true, true, false};
    EXPECT_TRUE(api->playlist_remove_selection(0, true));
    ASSERT_EQ(host.playlists[0].items.size(), 2u);
    EXPECT_STREQ(host.playlists[0].items[0]->get_path(), "P0/1");
    EXPECT_STREQ(host.playlists[0].items[1]->get_path(), "P0/2");
}

TEST(PlaylistManagerHelpers, AddAppendsAndClearDeselectsEverything) {
    auto api = qvn::std_api_get<playlist_manager>();
    FakePlaylistManager& host = fakePlaylists();
    host.reset(1, 2);
    host.playlists[0].selected = {true, true};
    EXPECT_EQ(api->playlist_add_items(0, {makeTrack("x")}, bit_array_false()), 2u);
    EXPECT_STREQ(host.playlists[0].items[2]->get_path(), "x");
    api->playlist_clear_selection(0);
    EXPECT_EQ(api->playlist_get_selection_mask(0).calc_count(true, 0, 3), 0u);
}

TEST(PlaylistManagerHelpers, EitherInterfaceReachesTheOneManager) {
    auto v1 = qvn::std_api_get<playlist_manager>();
    auto v2 = qvn::std_api_get<playlist_manager_v2>();
    EXPECT_EQ(static_cast<playlist_manager*>(v2.get_ptr()), v1.get_ptr());
    service_ptr_t<playlist_manager_v2> cast;
    EXPECT_TRUE(cast &= v1);
}

TEST(PlaylistManagerHelpers, PermutationCheckRejectsAnythingButAPermutation) {
    const size_t good[] = {2, 0, 1};
    const size_t repeated[] = {0, 0, 1};
    const size_t outOfRange[] = {0, 1, 3};
    EXPECT_TRUE(order_is_permutation(good, 3));
    EXPECT_FALSE(order_is_permutation(repeated, 3));
    EXPECT_FALSE(order_is_permutation(outOfRange, 3));
    EXPECT_TRUE(order_is_permutation(nullptr, 0));
    EXPECT_FALSE(order_is_permutation(nullptr, 2));
}

TEST(MainThreadDispatch, QueuesFromAnyThreadAndRunsOnlyWhenTheHostDoes) {
    FakeMainThread& host = fakeMainThread();
    host.runAll();
    int runs = 0;
    std::thread worker([&] { qvn::inMainThread([&] { ++runs; }); });
    worker.join();
    qvn::inMainThread({});
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(host.pending(), 1u);
    host.runAll();
    EXPECT_EQ(runs, 1);
}

TEST(TitleformatCompiler, CompileSafeAlwaysYieldsAScript) {
    auto compiler = qvn::std_api_get<titleformat_compiler>();
    cvk::stringLite text;
    auto track = makeTrack("t");

    auto good = compiler->compile_safe("%title%");
    ASSERT_TRUE(good.is_valid());
    EXPECT_TRUE(good->run_simple(track, text));
    EXPECT_STREQ(text, "%title%");

    for (const char* broken : {"BAD[", static_cast<const char*>(nullptr)}) {
        auto script = compiler->compile_safe(broken);
        ASSERT_TRUE(script.is_valid());
        script->run_simple(track, text);
        EXPECT_STREQ(text, titleformat_compiler::kInvalidPatternText);
    }

    service_ptr_t<titleformat_object> kept = good;
    EXPECT_FALSE(compiler->compile(kept, "BAD"));
    EXPECT_EQ(kept, good);  // a refused compile leaves the out untouched
}

TEST(TitleformatCompiler, RunSimpleWithoutATrackYieldsEmpty) {
    auto script = qvn::std_api_get<titleformat_compiler>()->compile_safe("x");
    cvk::stringLite text("stale");
    EXPECT_FALSE(script->run_simple(service_ptr_t<metadb_handle>(), text));
    EXPECT_TRUE(text.is_empty());
}
