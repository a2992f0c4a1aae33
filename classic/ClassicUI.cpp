// The Classic UI bundle: its identity and every service the host finds in it.
// One file registers them all, because the order in which the factories join
// the service list is the order of their construction, and that is fixed only
// within one file.

#include "ClassicLock.h"
#include "ClassicSettings.h"
#include "ClosedTracker.h"
#include "ComponentIdentity.h"
#include "dravik_update_initquit.h"
#include "initquit.h"
#include "mainmenu.h"
#include "mainmenu_classic_updates.h"
#include "NotificationCenter.h"
#include "ObjectWrapper.h"
#include "playback_queue_callback.h"
#include "preferences_page.h"
#include "QovClassicLibrarySearch.h"
#include "QovClassicPlaylist.h"
#include "QovClassicPrefs.h"
#include "QovClassicStatusbar.h"
#include "QovClassicTabs.h"
#include "QovClassicToolbar.h"
#include "service_factory.h"
#include "ui_element.h"

#include <cstring>

namespace qvn {
const ComponentIdentity g_identity{
    "qov_classic_ui", "0.18", "Classic UI",
    "Windows-style toolbar and status bar UI elements for quorvane for Mac.\n"
    "Add to layout as: classic-toolbar, classic-tabs, classic-playlist, classic-statusbar"};
}

namespace {

// One for the whole bundle: every open playlist relabels its queued tracks.
class ClassicQueueCallback : public playback_queue_callback {
public:
    void on_changed(t_change_origin) override {
        platform::NotificationCenter::defaultCenter().post(platform::kClassicUIQueueChanged);
    }
};

// The theme holds before any Classic view appears; locks come back from the
// playlists' markers; removed playlists are remembered until quit.
class ClassicInit : public initquit {
public:
    void on_init() override {
        applyTheme();
        reinstallLocks();
        startClosedTracker();
    }
    void on_quit() override {
        stopClosedTracker();
        QovClassicLibrarySearch::shutdown();
    }
};

class preferences_page_classic : public preferences_page {
public:
    service_ptr_t<service_base> instantiate() override { return qvn::wrapNSObject(new QovClassicPrefs); }
    const char* get_name() override { return "Classic UI"; }
    GUID get_guid() override {
        return {0x3C95E8A1, 0x7F24, 0x4D0B, {0xA6, 0x5D, 0x18, 0xB2, 0x9E, 0x40, 0xC7, 0x83}};
    }
    GUID get_parent_guid() override { return guid_display; }
};

class mainmenu_classic_library : public mainmenu_commands {
public:
    static constexpr GUID kCommand{
        0x5EA7C2F1, 0x8D36, 0x4B90, {0xA4, 0x1F, 0x73, 0xC8, 0x0E, 0x95, 0x2B, 0xD6}};

    uint32_t get_command_count() override { return 1; }
    GUID get_command(uint32_t) override { return kCommand; }
    void get_name(uint32_t, cvk::string_base& out) override { out.set_string("Search Library..."); }
    bool get_description(uint32_t, cvk::string_base& out) override {
        out.set_string("Search the media library and add tracks to a playlist.");
        return true;
    }
    GUID get_parent() override { return mainmenu_groups::library; }
    void execute(uint32_t, service_ptr_t<service_base>) override { QovClassicLibrarySearch::show(); }
};

struct ElementInfo {
    const char* name;
    const char* displayName;
    GUID guid;
};

// A layout element: a fresh controller of its class for every placement.
template <class Controller, const ElementInfo& info>
class ui_element_classic : public ui_element_mac {
public:
    service_ptr_t<service_base> instantiate(service_ptr_t<service_base>) override {
        return qvn::wrapNSObject(new Controller);
    }
    bool match_name(const char* name) override { return name && std::strcmp(name, info.name) == 0; }
    qvn::stringRef get_name() override { return qvn::string::make(info.displayName); }
    GUID get_guid() override { return info.guid; }
};

constexpr ElementInfo kPlaylist{
    "classic-playlist",
    "Classic Playlist",
    {0x9E47B2C1, 0x3D58, 0x4A06, {0xB1, 0x7E, 0x64, 0x0F, 0xA9, 0x2D, 0x18, 0xC5}}};
constexpr ElementInfo kToolbar{
    "classic-toolbar",
    "Classic Toolbar",
    {0x3E7A1F52, 0x9C04, 0x4B8D, {0xA1, 0x6F, 0x52, 0x0E, 0x9D, 0x37, 0xC4, 0x18}}};
constexpr ElementInfo kTabs{"classic-tabs",
                            "Classic Playlist Tabs",
                            {0x61C9E2D7, 0x4A18, 0x4F3B, {0x8E, 0x02, 0x7B, 0xD5, 0x13, 0x9F, 0x60, 0xA4}}};
constexpr ElementInfo kStatusbar{
    "classic-statusbar",
    "Classic Status Bar",
    {0x8D21C6B4, 0x2F73, 0x4E0A, {0xB5, 0x9C, 0x0D, 0x61, 0xE8, 0x4A, 0x27, 0xF3}}};

using ui_element_classic_playlist = ui_element_classic<QovClassicPlaylist, kPlaylist>;
using ui_element_classic_toolbar = ui_element_classic<QovClassicToolbar, kToolbar>;
using ui_element_classic_tabs = ui_element_classic<QovClassicTabs, kTabs>;
using ui_element_classic_statusbar = ui_element_classic<QovClassicStatusbar, kStatusbar>;

// In the order the services join the list.
service_factory_singleton_t<ClassicQueueCallback> g_queueCallbackFactory;
service_factory_singleton_t<ClassicInit> g_initFactory;
service_factory_singleton_t<preferences_page_classic> g_pageFactory;
service_factory_single_t<mainmenu_classic_library> g_libraryCommandFactory;
service_factory_single_t<mainmenu_classic_updates> g_updatesCommandFactory;
service_factory_singleton_t<ui_element_classic_playlist> g_playlistElementFactory;
service_factory_singleton_t<ui_element_classic_toolbar> g_toolbarElementFactory;
service_factory_singleton_t<ui_element_classic_tabs> g_tabsElementFactory;
service_factory_singleton_t<ui_element_classic_statusbar> g_statusbarElementFactory;
service_factory_singleton_t<dravik_update_initquit> g_updateCheckFactory;

}  // namespace
