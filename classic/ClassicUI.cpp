// The Classic UI bundle: its identity and the services the host finds in it.

#include "ComponentIdentity.h"
#include "NotificationCenter.h"
#include "ObjectWrapper.h"
#include "playback_queue_callback.h"
#include "preferences_page.h"
#include "QovClassicPlaylist.h"
#include "QovClassicPrefs.h"
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

class preferences_page_classic : public preferences_page {
public:
    service_ptr_t<service_base> instantiate() override { return qvn::wrapNSObject(new QovClassicPrefs); }
    const char* get_name() override { return "Classic UI"; }
    GUID get_guid() override {
        return {0x3C95E8A1, 0x7F24, 0x4D0B, {0xA6, 0x5D, 0x18, 0xB2, 0x9E, 0x40, 0xC7, 0x83}};
    }
    GUID get_parent_guid() override { return guid_display; }
};

class ui_element_classic_playlist : public ui_element_mac {
public:
    service_ptr_t<service_base> instantiate(service_ptr_t<service_base>) override {
        return qvn::wrapNSObject(new QovClassicPlaylist);
    }
    bool match_name(const char* name) override { return name && std::strcmp(name, "classic-playlist") == 0; }
    qvn::stringRef get_name() override { return qvn::string::make("Classic Playlist"); }
    GUID get_guid() override {
        return {0x9E47B2C1, 0x3D58, 0x4A06, {0xB1, 0x7E, 0x64, 0x0F, 0xA9, 0x2D, 0x18, 0xC5}};
    }
};

// In the order the host is to find them.
service_factory_singleton_t<ClassicQueueCallback> g_queueCallbackFactory;
service_factory_singleton_t<preferences_page_classic> g_pageFactory;
service_factory_singleton_t<ui_element_classic_playlist> g_playlistElementFactory;

}  // namespace
