#pragma once

// The four Ovix layout elements: ovix-header, ovix-tabs, ovix-playlist and
// ovix-footer, each named, identified and making its controller.

#include "OvixElement.h"
#include "QovOvixFooter.h"
#include "QovOvixHeader.h"
#include "QovOvixPlaylist.h"
#include "QovOvixTabs.h"

class el_header : public OvixElement<QovOvixHeader> {
public:
    el_header()
        : OvixElement("ovix-header", "OVIX Header",
                      {0x2A9E41C7, 0x5D1B, 0x4C86, {0x93, 0x0F, 0x6E, 0x2B, 0xD8, 0x14, 0xA7, 0x51}}) {}
};

class el_tabs : public OvixElement<QovOvixTabs> {
public:
    el_tabs()
        : OvixElement("ovix-tabs", "OVIX Playlist Tabs",
                      {0x7F03B85E, 0x19C4, 0x4A2D, {0xB6, 0x71, 0x0C, 0x9E, 0x45, 0xF2, 0x3B, 0x88}}) {}
};

class el_playlist : public OvixElement<QovOvixPlaylist> {
public:
    el_playlist()
        : OvixElement("ovix-playlist", "OVIX Playlist",
                      {0xC4D62A19, 0x8E70, 0x4F5B, {0xA2, 0x3D, 0x91, 0x07, 0x6C, 0xE8, 0x5F, 0x24}}) {}
};

class el_footer : public OvixElement<QovOvixFooter> {
public:
    el_footer()
        : OvixElement("ovix-footer", "OVIX Footer",
                      {0x58B1E0F4, 0x3A62, 0x47C9, {0x8D, 0x15, 0xF7, 0x2C, 0x0A, 0x96, 0xE3, 0x6B}}) {}
};
