#include "ComponentIdentity.h"

namespace qvn {
const ComponentIdentity g_identity{
    "qov_ovix_ui", "0.6", "OVIX UI",
    "OVIX-style UI elements for quorvane for Mac.\n"
    "Add to layout as: ovix-header, ovix-tabs, ovix-playlist, ovix-footer"};
}
