// File menu: "Check for Plugin Updates...", the check of every installed
// component at once.

#include "ManualCheck.h"
#include "UpdateEndpoints.h"

#include "mainmenu.h"
#include "service_factory.h"

namespace {

class mainmenu_classic_updates : public mainmenu_commands {
public:
    uint32_t get_command_count() override { return 1; }
    GUID get_command(uint32_t) override {
        return {0x2D9F6B14, 0xA3E8, 0x4C71, {0x85, 0x0B, 0x1E, 0x6A, 0xD4, 0x93, 0x7C, 0x05}};
    }
    void get_name(uint32_t, cvk::string_base& out) override { out.set_string("Check for Plugin Updates..."); }
    bool get_description(uint32_t, cvk::string_base& out) override {
        const QString text = QStringLiteral("Checks %1 for newer versions of the installed plug-ins.")
                                 .arg(dravik_update::serverHost());
        out.set_string(text.toUtf8().constData());
        return true;
    }
    GUID get_parent() override { return mainmenu_groups::file_etc; }
    void execute(uint32_t, service_ptr_t<service_base>) override { dravik_update::checkForPluginUpdates(); }
};

service_factory_single_t<mainmenu_classic_updates> g_updates_factory;

}  // namespace
