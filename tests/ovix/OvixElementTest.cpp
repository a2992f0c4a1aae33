// The four elements as the host finds and places them.

#include "OvixElements.h"
#include "OvixTestHost.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(OvixElements, NamesAndIdentities) {
    OvixTestHost host;
    struct Expect {
        service_ptr_t<ui_element_mac> element;
        const char* name;
        const char* display;
        GUID guid;
    };
    const Expect all[] = {
        {service_new<el_header>(),
         "ovix-header",
         "OVIX Header",
         {0x2A9E41C7, 0x5D1B, 0x4C86, {0x93, 0x0F, 0x6E, 0x2B, 0xD8, 0x14, 0xA7, 0x51}}},
        {service_new<el_tabs>(),
         "ovix-tabs",
         "OVIX Playlist Tabs",
         {0x7F03B85E, 0x19C4, 0x4A2D, {0xB6, 0x71, 0x0C, 0x9E, 0x45, 0xF2, 0x3B, 0x88}}},
        {service_new<el_playlist>(),
         "ovix-playlist",
         "OVIX Playlist",
         {0xC4D62A19, 0x8E70, 0x4F5B, {0xA2, 0x3D, 0x91, 0x07, 0x6C, 0xE8, 0x5F, 0x24}}},
        {service_new<el_footer>(),
         "ovix-footer",
         "OVIX Footer",
         {0x58B1E0F4, 0x3A62, 0x47C9, {0x8D, 0x15, 0xF7, 0x2C, 0x0A, 0x96, 0xE3, 0x6B}}},
    };
    for (const Expect& e : all) {
        EXPECT_TRUE(e.element->match_name(e.name));
        EXPECT_FALSE(e.element->match_name((std::string(e.name) + " ").c_str()));
        EXPECT_FALSE(e.element->match_name(QByteArray(e.name).toUpper().constData()));
        EXPECT_FALSE(e.element->match_name(e.display));
        EXPECT_FALSE(e.element->match_name(nullptr));
        EXPECT_STREQ(e.element->get_name()->c_str(), e.display);
        const GUID guid = e.element->get_guid();
        EXPECT_EQ(std::memcmp(&guid, &e.guid, sizeof(GUID)), 0) << e.name;
    }
}

TEST(OvixElements, EachPlacementIsAControllerOfItsOwn) {
    OvixTestHost host;
    const size_t first = host.showPlaylist("One", {albumTrack("X", "a")});
    host.showPlaylist("Two", {albumTrack("X", "a"), albumTrack("X", "b")});
    auto element = service_new<el_playlist>();
    service_ptr_t<service_base> a = element->instantiate({});
    service_ptr_t<service_base> b = element->instantiate({});
    auto* pa = qobject_cast<QovOvixPlaylist*>(qvn::unwrapObject(a));
    auto* pb = qobject_cast<QovOvixPlaylist*>(qvn::unwrapObject(b));
    ASSERT_TRUE(pa && pb);
    EXPECT_NE(pa, pb);
    pa->view();
    pb->view();
    EXPECT_EQ(pa->rows().itemToRow.size(), 2u);
    host.playlists->set_active_playlist(first);
    ASSERT_TRUE(
        spinUntil([&] { return pa->rows().itemToRow.size() == 1 && pb->rows().itemToRow.size() == 1; }));
}

}  // namespace
