#pragma once

// A layout element of the Ovix UI: its name, display name and GUID, and a
// fresh controller of its class for each placement. Main thread for
// instantiate; the rest only reads constants.

#include "ObjectWrapper.h"
#include "qvn_string.h"
#include "ui_element.h"

#include <cstring>

template <class Controller>
class OvixElement : public ui_element_mac {
public:
    OvixElement(const char* name, const char* displayName, const GUID& guid)
        : _name(name), _displayName(displayName), _guid(guid) {}

    service_ptr_t<service_base> instantiate(service_ptr_t<service_base>) override {
        return qvn::wrapNSObject(new Controller);
    }
    bool match_name(const char* name) override { return name && std::strcmp(name, _name) == 0; }
    qvn::stringRef get_name() override { return qvn::string::make(_displayName); }
    GUID get_guid() override { return _guid; }

private:
    const char* const _name;
    const char* const _displayName;
    const GUID _guid;
};
