// The component's version record, filled from the deliverable's identity.

#include "ComponentIdentity.h"
#include "component_client.h"
#include "componentversion.h"

namespace {

class componentversion_myimpl : public componentversion {
public:
    void get_file_name(cvk::string_base& out) override { out.add_string(g_name.get_ptr()); }
    void get_component_name(cvk::string_base& out) override {
        out.add_string(qvn::g_identity.displayName);
    }
    void get_component_version(cvk::string_base& out) override {
        out.add_string(qvn::g_identity.version);
    }
    void get_about_message(cvk::string_base& out) override { out.add_string(qvn::g_identity.about); }
};

service_factory_single_t<componentversion_myimpl> g_componentversion_factory;

}  // namespace
