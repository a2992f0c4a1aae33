#include "mainmenu_classic_updates.h"

#include "ManualCheck.h"
#include "UpdateEndpoints.h"

GUID mainmenu_classic_updates::get_command(uint32_t) {
    return {0x2D9F6B14, 0xA3E8, 0x4C71, {0x85, 0x0B, 0x1E, 0x6A, 0xD4, 0x93, 0x7C, 0x05}};
}

void mainmenu_classic_updates::get_name(uint32_t, cvk::string_base& out) {
    out.set_string("Check for Plugin Updates...");
}

bool mainmenu_classic_updates::get_description(uint32_t, cvk::string_base& out) {
    const QString text = QStringLiteral("Checks %1 for newer versions of the installed plug-ins.")
                             .arg(dravik_update::serverHost());
    out.set_string(text.toUtf8().constData());
    return true;
}

void mainmenu_classic_updates::execute(uint32_t, service_ptr_t<service_base>) {
    dravik_update::checkForPluginUpdates();
}
