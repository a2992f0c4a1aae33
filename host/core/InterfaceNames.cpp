#include "InterfaceNames.h"

#include "ObjectWrapper.h"
#include "album_art.h"
#include "componentversion.h"
#include "config_store.h"
#include "console.h"
#include "contextmenu.h"
#include "cvk_string.h"
#include "initquit.h"
#include "input.h"
#include "library_manager.h"
#include "main_thread_callback.h"
#include "mainmenu.h"
#include "metadb_handle.h"
#include "play_callback.h"
#include "playback_control.h"
#include "playback_queue_callback.h"
#include "playlist_incoming_item_filter.h"
#include "playlist_lock.h"
#include "playlist_manager.h"
#include "preferences_page.h"
#include "qvn_string.h"
#include "titleformat.h"
#include "ui_element.h"

#include <array>
#include <utility>

namespace {

template <class T> constexpr std::pair<GUID, const char*> entry(const char* name) {
    return {T::class_guid, name};
}

// The one table: every interface header the host includes belongs here.
constexpr std::array kInterfaces{
    entry<album_art_data>("album_art_data"),
    entry<album_art_extractor_instance_v2>("album_art_extractor_instance_v2"),
    entry<album_art_manager_v2>("album_art_manager_v2"),
    entry<componentversion>("componentversion"),
    entry<contextmenu_manager>("contextmenu_manager"),
    entry<file>("file"),
    entry<initquit>("initquit"),
    entry<input_decoder>("input_decoder"),
    entry<input_manager>("input_manager"),
    entry<library_manager>("library_manager"),
    entry<main_thread_callback>("main_thread_callback"),
    entry<main_thread_callback_manager>("main_thread_callback_manager"),
    entry<mainmenu_commands>("mainmenu_commands"),
    entry<mainmenu_manager>("mainmenu_manager"),
    entry<metadb_handle>("metadb_handle"),
    entry<play_callback_manager>("play_callback_manager"),
    entry<playback_control>("playback_control"),
    entry<playback_queue_callback>("playback_queue_callback"),
    entry<playlist_incoming_item_filter_v2>("playlist_incoming_item_filter_v2"),
    entry<playlist_lock>("playlist_lock"),
    entry<playlist_manager>("playlist_manager"),
    entry<playlist_manager_v2>("playlist_manager_v2"),
    entry<preferences_page>("preferences_page"),
    entry<process_locations_notify>("process_locations_notify"),
    entry<qvn::configStore>("configStore"),
    entry<qvn::console>("console"),
    entry<qvn::ObjectWrapper>("ObjectWrapper"),
    entry<qvn::string>("string"),
    entry<titleformat_compiler>("titleformat_compiler"),
    entry<titleformat_object>("titleformat_object"),
    entry<ui_element_mac>("ui_element_mac"),
};

}  // namespace

std::string InterfaceNames::nameOf(const GUID& guid) {
    for (const auto& [g, name] : kInterfaces)
        if (g == guid) return name;
    return cvk::print_guid(guid).str();
}
