// The real bundles, loaded the way the host loads them.

#include "componentversion.h"
#include "initquit.h"
#include "mainmenu.h"
#include "preferences_page.h"
#include "ui_element.h"
#include "quorvane_client.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
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

service_ptr_t<componentversion> versionRecord(const Bundle& b) {
    for (auto* f = b.client->get_service_list(); f; f = f->get_next()) {
        if (!(f->get_class_guid() == componentversion::class_guid)) continue;
        service_ptr_t<service_base> obj;
        f->instance_create(obj);
        service_ptr_t<componentversion> cv;
        cv ^= obj;
        return cv;
    }
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
