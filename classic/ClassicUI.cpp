#include "ComponentIdentity.h"

namespace qvn {
const ComponentIdentity g_identity{
    "qov_classic_ui", "0.18", "Classic UI",
    "Windows-style toolbar and status bar UI elements for quorvane for Mac.\n"
    "Add to layout as: classic-toolbar, classic-tabs, classic-playlist, classic-statusbar"};
}
