#pragma once

// A page of the host's preferences window.
//
// Threads: main thread.
// Ownership: the component's service, a singleton. instantiate is called each
// time the page is shown; the host owns the returned controller until the
// page is left.
// Failure: instantiate returns null when it cannot make the page; the host
// then shows an empty page.

#include "cvk_string.h"
#include "guid.h"
#include "service.h"

class preferences_page : public service_base {
    QVN_SERVICE_INTERFACE(preferences_page, service_base,
                          {0x4F33264B, 0x0995, 0x430C, {0x9F, 0x4B, 0x6C, 0xD1, 0xD8, 0x4F, 0xD6, 0xEA}});

    // Parents of the host's own branches.
    static constexpr GUID guid_root = {
        0xF97CD2C9, 0x6445, 0x428B, {0x94, 0x93, 0x1D, 0xD3, 0x44, 0xCB, 0x46, 0x11}};
    static constexpr GUID guid_display = {
        0x6AAA67B6, 0x732F, 0x4967, {0x89, 0x9A, 0x18, 0xC5, 0xF8, 0xC7, 0x00, 0x17}};

    // The wrapped qvn::ViewController (see ObjectWrapper.h).
    virtual service_ptr_t<service_base> instantiate() = 0;
    // Static text: the page's entry in the tree.
    virtual const char* get_name() = 0;
    virtual GUID get_guid() = 0;
    // The page it sits under: guid_root, guid_display or another page's GUID.
    virtual GUID get_parent_guid() = 0;
    // `out` is replaced; false when the page has no help.
    virtual bool get_help_url(cvk::string_base& out) { return false; }
};
