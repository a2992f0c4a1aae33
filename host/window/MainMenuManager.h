#pragma once

// The host's mainmenu_manager (what standard_commands::run_main reaches): runs
// the host's own command of a GUID when the window offers one, else the
// component command of that GUID when it is shown and enabled. Main thread.

#include "mainmenu.h"

class MainMenuManager : public mainmenu_manager {
public:
    bool run_command(const GUID& command) override;
};
