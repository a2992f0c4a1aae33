#include "MainMenuManager.h"

#include "HostCommands.h"
#include "MenuCommandCatalog.h"

#include "service_factory.h"

static service_factory_singleton_t<MainMenuManager> g_mainMenuManagerFactory;

bool MainMenuManager::run_command(const GUID& command) {
    if (HostCommands::has(command)) return HostCommands::run(command);
    for (const MenuCommand& c : MenuCommandCatalog::collect()) {
        if (!(c.guid == command)) continue;
        const MenuCommandDisplay shown = MenuCommandCatalog::display(c);
        if (!shown.visible || (shown.flags & mainmenu_commands::flag_disabled)) return false;
        return MenuCommandCatalog::execute(c);
    }
    return false;
}
