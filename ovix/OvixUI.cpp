// The Ovix UI bundle: its identity and its four layout elements.

#include "ComponentIdentity.h"
#include "dravik_update_initquit.h"
#include "OvixElements.h"
#include "service_factory.h"

namespace qvn {
const ComponentIdentity g_identity{"qov_ovix_ui", "0.6", "OVIX UI",
                                   "OVIX-style UI elements for quorvane for Mac.\n"
                                   "Add to layout as: ovix-header, ovix-tabs, ovix-playlist, ovix-footer"};
}

namespace {

// Linked in this order: header, tabs, playlist, footer, then the update check.
service_factory_singleton_t<el_header> g_header;
service_factory_singleton_t<el_tabs> g_tabs;
service_factory_singleton_t<el_playlist> g_playlist;
service_factory_singleton_t<el_footer> g_footer;
service_factory_singleton_t<dravik_update_initquit> g_updateCheck;

}  // namespace
