// The real bundles, loaded the way the host loads them.

#include "componentversion.h"
#include "initquit.h"
#include "mainmenu.h"
#include "NotificationCenter.h"
#include "playback_queue_callback.h"
#include "preferences_page.h"
#include "quorvane_client.h"
#include "ui_element.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Bundle {
    explicit Bundle(const std::string& name) {
        path = std::string(QOV_COMPONENTS_DIR) + "/" + name + ".component/" + name + ".so";
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        if (auto entry = reinterpret_cast<quorvane_entry_t>(dlsym(handle, QUORVANE_ENTRY_NAME)))
            client = entry(nullptr);
    }
    std::vector<GUID> serviceClasses() const {
        std::vector<GUID> out;
        for (auto* f = client->get_service_list(); f; f = f->get_next()) out.push_back(f->get_class_guid());
        return out;
    }
    std::string path;
    void* handle = nullptr;
    quorvane_client* client = nullptr;
};

std::string text(void (componentversion::*get)(cvk::string_base&), componentversion* cv) {
    cvk::stringLite s;
    (cv->*get)(s);
    return s.str();
}

// The bundle's first service of the interface T.
template <class T>
service_ptr_t<T> firstService(const Bundle& b) {
    for (auto* f = b.client->get_service_list(); f; f = f->get_next()) {
        if (!(f->get_class_guid() == T::class_guid)) continue;
        service_ptr_t<service_base> obj;
        f->instance_create(obj);
        service_ptr_t<T> service;
        service ^= obj;
        return service;
    }
    return {};
}

service_ptr_t<componentversion> versionRecord(const Bundle& b) { return firstService<componentversion>(b); }

// Every service of the bundle but its version record, in the order they
// joined the list (the host walks it the other way round).
std::vector<service_ptr_t<service_base>> joined(const Bundle& b) {
    std::vector<service_ptr_t<service_base>> out;
    for (auto* f = b.client->get_service_list(); f; f = f->get_next()) {
        if (f->get_class_guid() == componentversion::class_guid) continue;
        service_ptr_t<service_base> obj;
        f->instance_create(obj);
        out.insert(out.begin(), obj);
    }
    return out;
}

template <class T>
service_ptr_t<T> as(const service_ptr_t<service_base>& s) {
    service_ptr_t<T> out;
    out &= s;
    return out;
}

// The bundle's layout element that answers to `name`.
service_ptr_t<ui_element_mac> element(const Bundle& b, const char* name) {
    for (const auto& s : joined(b))
        if (auto e = as<ui_element_mac>(s); e.is_valid() && e->match_name(name)) return e;
    return {};
}

TEST(Bundles, ExportOnlyTheEntry) {
    for (const char* name : {"qov_classic_ui", "qov_ovix_ui", "qov_wave_seekbar"}) {
        Bundle b(name);
        ASSERT_NE(b.client, nullptr) << b.path << ": " << dlerror();
        EXPECT_EQ(b.client->get_version(), quorvane_client::version);
        EXPECT_FALSE(b.client->is_debug());
        // Each bundle has its own binding: nothing leaks in from the test's own.
        EXPECT_EQ(dlsym(b.handle, "g_client"), nullptr);
    }
}

TEST(Bundles, WaveSeekbarListsExactlyItsServices) {
    Bundle b("qov_wave_seekbar");
    ASSERT_NE(b.client, nullptr);
    std::vector<GUID> classes = b.serviceClasses();
    std::vector<GUID> expected{componentversion::class_guid, ui_element_mac::class_guid,
                               preferences_page::class_guid, initquit::class_guid};
    auto less = [](const GUID& a, const GUID& c) { return std::memcmp(&a, &c, sizeof(GUID)) < 0; };
    std::sort(classes.begin(), classes.end(), less);
    std::sort(expected.begin(), expected.end(), less);
    EXPECT_EQ(classes, expected);
}

TEST(Bundles, ClassicOffersItsPlaylistElementPageAndQueueListener) {
    Bundle b("qov_classic_ui");
    ASSERT_NE(b.client, nullptr);

    auto element = ::element(b, "classic-playlist");
    ASSERT_TRUE(element.is_valid());
    for (const char* other : {"Classic-Playlist", "classic-playlist ", "Classic Playlist", ""})
        EXPECT_FALSE(element->match_name(other)) << '"' << other << '"';
    EXPECT_FALSE(element->match_name(nullptr));
    EXPECT_STREQ(element->get_name()->c_str(), "Classic Playlist");
    EXPECT_EQ(element->get_guid(),
              (GUID{0x9E47B2C1, 0x3D58, 0x4A06, {0xB1, 0x7E, 0x64, 0x0F, 0xA9, 0x2D, 0x18, 0xC5}}));

    auto page = firstService<preferences_page>(b);
    ASSERT_TRUE(page.is_valid());
    EXPECT_STREQ(page->get_name(), "Classic UI");
    EXPECT_EQ(page->get_guid(),
              (GUID{0x3C95E8A1, 0x7F24, 0x4D0B, {0xA6, 0x5D, 0x18, 0xB2, 0x9E, 0x40, 0xC7, 0x83}}));
    EXPECT_EQ(page->get_parent_guid(), preferences_page::guid_display);

    auto queue = firstService<playback_queue_callback>(b);
    ASSERT_TRUE(queue.is_valid());
    int posted = 0;
    const platform::Subscription counting = platform::NotificationCenter::defaultCenter().subscribe(
        platform::kClassicUIQueueChanged, nullptr, [&](const platform::Notification&) { ++posted; });
    queue->on_changed(playback_queue_callback::changed_user_added);
    queue->on_changed(playback_queue_callback::changed_playback_advance);
    EXPECT_EQ(posted, 2);
}

TEST(Bundles, EachChecksForItsOwnUpdatesAndClassicForAll) {
    for (const char* name : {"qov_classic_ui", "qov_ovix_ui", "qov_wave_seekbar"}) {
        Bundle b(name);
        ASSERT_NE(b.client, nullptr);
        const std::vector<GUID> classes = b.serviceClasses();
        EXPECT_NE(std::find(classes.begin(), classes.end(), initquit::class_guid), classes.end()) << name;
        const bool commands =
            std::find(classes.begin(), classes.end(), mainmenu_commands::class_guid) != classes.end();
        EXPECT_EQ(commands, std::strcmp(name, "qov_classic_ui") == 0) << name;
    }
}

TEST(Bundles, OvixUiLinksItsElementsHeaderFirst) {
    Bundle b("qov_ovix_ui");
    ASSERT_NE(b.client, nullptr);
    std::vector<unsigned long> elements;  // Data1 of each element's GUID, in list order
    for (auto* f = b.client->get_service_list(); f; f = f->get_next()) {
        if (!(f->get_class_guid() == ui_element_mac::class_guid)) continue;
        service_ptr_t<service_base> obj;
        f->instance_create(obj);
        service_ptr_t<ui_element_mac> element;
        element ^= obj;
        elements.push_back(element->get_guid().Data1);
    }
    // Each link goes to the head of the list: footer, playlist, tabs, header.
    EXPECT_EQ(elements, (std::vector<unsigned long>{0x58B1E0F4, 0xC4D62A19, 0x7F03B85E, 0x2A9E41C7}));
}

TEST(Bundles, ClassicRegistersEveryServiceInItsOrder) {
    Bundle b("qov_classic_ui");
    ASSERT_NE(b.client, nullptr);
    const auto services = joined(b);
    ASSERT_EQ(services.size(), 10u);
    EXPECT_TRUE(as<playback_queue_callback>(services[0]).is_valid());
    EXPECT_TRUE(as<initquit>(services[1]).is_valid());
    EXPECT_TRUE(as<preferences_page>(services[2]).is_valid());

    auto library = as<mainmenu_commands>(services[3]);
    ASSERT_TRUE(library.is_valid());
    EXPECT_EQ(library->get_command_count(), 1u);
    EXPECT_EQ(library->get_command(0),
              (GUID{0x5EA7C2F1, 0x8D36, 0x4B90, {0xA4, 0x1F, 0x73, 0xC8, 0x0E, 0x95, 0x2B, 0xD6}}));
    cvk::stringLite name, description, shown;
    library->get_name(0, name);
    EXPECT_EQ(name.str(), "Search Library...");
    EXPECT_TRUE(library->get_description(0, description));
    EXPECT_EQ(description.str(), "Search the media library and add tracks to a playlist.");
    EXPECT_EQ(library->get_parent(), mainmenu_groups::library);
    EXPECT_EQ(library->get_sort_priority(), mainmenu_commands::sort_priority_dontcare);
    uint32_t flags = 7;
    EXPECT_TRUE(library->get_display(0, shown, flags));
    EXPECT_EQ(shown.str(), "Search Library...");
    EXPECT_EQ(flags, 0u);

    struct Element {
        const char* name;
        const char* displayName;
        GUID guid;
    };
    const Element elements[] = {
        {"classic-playlist",
         "Classic Playlist",
         {0x9E47B2C1, 0x3D58, 0x4A06, {0xB1, 0x7E, 0x64, 0x0F, 0xA9, 0x2D, 0x18, 0xC5}}},
        {"classic-toolbar",
         "Classic Toolbar",
         {0x3E7A1F52, 0x9C04, 0x4B8D, {0xA1, 0x6F, 0x52, 0x0E, 0x9D, 0x37, 0xC4, 0x18}}},
        {"classic-tabs",
         "Classic Playlist Tabs",
         {0x61C9E2D7, 0x4A18, 0x4F3B, {0x8E, 0x02, 0x7B, 0xD5, 0x13, 0x9F, 0x60, 0xA4}}},
        {"classic-statusbar",
         "Classic Status Bar",
         {0x8D21C6B4, 0x2F73, 0x4E0A, {0xB5, 0x9C, 0x0D, 0x61, 0xE8, 0x4A, 0x27, 0xF3}}},
    };
    for (size_t i = 0; i < std::size(elements); ++i) {
        const Element& e = elements[i];
        SCOPED_TRACE(e.name);
        auto element = as<ui_element_mac>(services[5 + i]);
        ASSERT_TRUE(element.is_valid());
        EXPECT_TRUE(element->match_name(e.name));
        std::string upper = e.name;
        upper[0] = char(std::toupper(upper[0]));
        for (const std::string& other : {upper, std::string(e.name) + " ", std::string(e.displayName)})
            EXPECT_FALSE(element->match_name(other.c_str())) << '"' << other << '"';
        EXPECT_STREQ(element->get_name()->c_str(), e.displayName);
        EXPECT_EQ(element->get_guid(), e.guid);
    }

    auto updates = as<mainmenu_commands>(services[4]);
    ASSERT_TRUE(updates.is_valid());
    updates->get_name(0, name);
    EXPECT_EQ(name.str(), "Check for Plugin Updates...");
    EXPECT_EQ(updates->get_parent(), mainmenu_groups::file_etc);
    EXPECT_TRUE(as<initquit>(services[9]).is_valid());

    // Each factory hands out its one object.
    EXPECT_EQ(joined(b)[5].get_ptr(), services[5].get_ptr());
}

TEST(Bundles, VersionRecordsCarryTheIdentityAndTheHostGivenFileName) {
    struct Expect {
        const char* file;
        const char* name;
        const char* version;
        const char* aboutStart;
    };
    for (const Expect& e : {Expect{"qov_classic_ui", "Classic UI", "0.18", "Windows-style toolbar"},
                            Expect{"qov_ovix_ui", "OVIX UI", "0.6", "OVIX-style UI elements"},
                            Expect{"qov_wave_seekbar", "Waveform Seekbar", "0.8", "Waveform seekbar UI"}}) {
        Bundle b(e.file);
        ASSERT_NE(b.client, nullptr);
        b.client->set_library_path(b.path.c_str(), e.file);
        auto cv = versionRecord(b);
        ASSERT_TRUE(cv.is_valid());
        EXPECT_EQ(text(&componentversion::get_file_name, cv.get_ptr()), e.file);
        EXPECT_EQ(text(&componentversion::get_component_name, cv.get_ptr()), e.name);
        EXPECT_EQ(text(&componentversion::get_component_version, cv.get_ptr()), e.version);
        const std::string about = text(&componentversion::get_about_message, cv.get_ptr());
        EXPECT_EQ(about.rfind(e.aboutStart, 0), 0u) << about;
        EXPECT_NE(about.find("\nAdd to layout as: "), std::string::npos);
        EXPECT_EQ(cv->service_add_ref(), 1);  // a single instance: never counted
    }
}

}  // namespace
