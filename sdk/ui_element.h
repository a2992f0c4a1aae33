#pragma once

// A layout element: a view the user names in the host's layout text.
//
// Threads: main thread.
// Ownership: the component's service, a singleton. Each instantiate makes a new
// controller that the host then owns (through the wrapper) for as long as the
// element is in the window.
// Failure: instantiate returns null when it cannot make the element; the host
// then leaves its place empty.

#include "guid.h"
#include "qvn_string.h"
#include "service.h"

class ui_element_mac : public service_base {
    QVN_SERVICE_INTERFACE(ui_element_mac, service_base,
                          {0x5AFCB069, 0x9867, 0x4175, {0x94, 0x9E, 0x21, 0x23, 0xBB, 0x85, 0x86, 0xDE}});

    // `arg`: the element's options as a wrapped QVariantMap of strings (the
    // layout's "key=value" words), or null. Returns the wrapped
    // qvn::ViewController (see ObjectWrapper.h).
    virtual service_ptr_t<service_base> instantiate(service_ptr_t<service_base> arg) = 0;
    // True for the element's name as layouts write it; exact and case-sensitive.
    virtual bool match_name(const char* name) = 0;
    // The name shown to the user.
    virtual qvn::stringRef get_name() = 0;
    virtual GUID get_guid() = 0;
};
