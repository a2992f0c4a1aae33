// Includes every SDK header (each must stand alone in some order) and pins the
// numbers that the host and the components must agree on.
#include "abort_callback.h"
#include "album_art.h"
#include "audio_chunk.h"
#include "bit_array.h"
#include "componentversion.h"
#include "config_store.h"
#include "console.h"
#include "contextmenu.h"
#include "cvk_format.h"
#include "cvk_string.h"
#include "exceptions.h"
#include "fatal.h"
#include "guid.h"
#include "initquit.h"
#include "input.h"
#include "input_helper.h"
#include "library_manager.h"
#include "main_thread_callback.h"
#include "mainmenu.h"
#include "metadb_handle.h"
#include "ObjectWrapper.h"
#include "play_callback.h"
#include "playback_control.h"
#include "playback_queue_callback.h"
#include "playlist_callback.h"
#include "playlist_incoming_item_filter.h"
#include "playlist_lock.h"
#include "playlist_manager.h"
#include "preferences_page.h"
#include "quorvane_api.h"
#include "quorvane_client.h"
#include "qvn_string.h"
#include "sdk_export.h"
#include "service.h"
#include "service_factory.h"
#include "service_factory_alias.h"
#include "standard_commands.h"
#include "std_api.h"
#include "titleformat.h"
#include "ui_element.h"
#include "ViewController.h"

#include <gtest/gtest.h>

#include <vector>

static_assert((play_callback::flag_on_playback_new_track | play_callback::flag_on_playback_stop) == 6);
static_assert((play_callback::flag_on_playback_new_track | play_callback::flag_on_playback_stop |
               play_callback::flag_on_playback_pause) == 22);
static_assert(playlist_callback::flag_on_playlists_removing == 0x2000);
static_assert(playlist_callback::flag_all == 0xFFFFFFFF);
static_assert((playlist_lock::filter_add | playlist_lock::filter_remove | playlist_lock::filter_reorder |
               playlist_lock::filter_remove_playlist) == 39);
static_assert(playback_control::track_command_play == 1 && playback_control::track_command_next == 2 &&
              playback_control::track_command_prev == 3 && playback_control::track_command_rand == 5);
static_assert(playback_control::stop_reason_starting_another == 2);
static_assert(playback_control::display_level_titles == 2 && playback_control::display_level_all == 3);
static_assert(contextmenu_manager::flag_view_full == 8);
static_assert(contextmenu_node::type_popup == 0 && contextmenu_node::type_command == 1 &&
              contextmenu_node::type_separator == 2);
static_assert(contextmenu_node::flag_checked == 1 && contextmenu_node::flag_disabled == 2 &&
              contextmenu_node::flag_grayed == 4 && contextmenu_node::flag_radiochecked == 8);
static_assert((playlist_incoming_item_filter_v2::op_flag_background |
               playlist_incoming_item_filter_v2::op_flag_delay_ui) == 6);
static_assert((input_flag_no_seeking | input_flag_no_looping) == 3);
static_assert(mainmenu_commands::sort_priority_dontcare == 0x80000000);
static_assert(preferences_page::guid_display ==
              GUID{0x6AAA67B6, 0x732F, 0x4967, {0x89, 0x9A, 0x18, 0xC5, 0xF8, 0xC7, 0x00, 0x17}});
static_assert(mainmenu_groups::library ==
              GUID{0x15D22753, 0x9D30, 0x4929, {0xAA, 0x14, 0x51, 0x24, 0x01, 0x6F, 0x7E, 0x68}});

TEST(SdkHeaders, EveryIdentifierIsDistinctAndSet) {
    const std::vector<GUID> ids = {
        // interfaces
        album_art_data::class_guid,
        album_art_extractor_instance_v2::class_guid,
        album_art_manager_v2::class_guid,
        componentversion::class_guid,
        contextmenu_manager::class_guid,
        file::class_guid,
        initquit::class_guid,
        input_decoder::class_guid,
        input_manager::class_guid,
        library_manager::class_guid,
        main_thread_callback::class_guid,
        main_thread_callback_manager::class_guid,
        mainmenu_commands::class_guid,
        mainmenu_manager::class_guid,
        metadb_handle::class_guid,
        play_callback_manager::class_guid,
        playback_control::class_guid,
        playback_queue_callback::class_guid,
        playlist_incoming_item_filter_v2::class_guid,
        playlist_lock::class_guid,
        playlist_manager::class_guid,
        playlist_manager_v2::class_guid,
        preferences_page::class_guid,
        process_locations_notify::class_guid,
        qvn::ObjectWrapper::class_guid,
        qvn::configStore::class_guid,
        qvn::console::class_guid,
        qvn::string::class_guid,
        titleformat_compiler::class_guid,
        titleformat_object::class_guid,
        ui_element_mac::class_guid,
        // constants
        album_art_ids::cover_front,
        album_art_ids::cover_back,
        album_art_ids::disc,
        album_art_ids::artist,
        mainmenu_groups::file,
        mainmenu_groups::file_etc,
        mainmenu_groups::edit,
        mainmenu_groups::view,
        mainmenu_groups::playback,
        mainmenu_groups::library,
        mainmenu_groups::help,
        preferences_page::guid_root,
        preferences_page::guid_display,
        standard_commands::guid_main_open,
        standard_commands::guid_main_add_files,
        standard_commands::guid_main_add_folder,
        standard_commands::guid_main_preferences,
        standard_commands::guid_main_exit,
        standard_commands::guid_main_play,
        standard_commands::guid_main_pause,
        standard_commands::guid_main_stop,
        standard_commands::guid_main_next,
        standard_commands::guid_main_previous,
        standard_commands::guid_main_random,
        standard_commands::guid_main_show_console,
    };
    for (size_t i = 0; i < ids.size(); ++i) {
        EXPECT_FALSE(ids[i] == pfc_guid_null) << i;
        for (size_t j = i + 1; j < ids.size(); ++j) EXPECT_FALSE(ids[i] == ids[j]) << i << " and " << j;
    }
}

TEST(SdkHeaders, ManagerV2AnswersForItsParent) {
    EXPECT_TRUE(service_query_walk<playlist_manager_v2>(playlist_manager::class_guid));
    EXPECT_FALSE(service_query_walk<playlist_manager>(playlist_manager_v2::class_guid));
}
