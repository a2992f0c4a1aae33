#pragma once

// File menu: "Check for Plugin Updates...", the check of every installed
// component at once.

#include "mainmenu.h"

class mainmenu_classic_updates : public mainmenu_commands {
public:
    uint32_t get_command_count() override { return 1; }
    GUID get_command(uint32_t) override;
    void get_name(uint32_t, cvk::string_base& out) override;
    bool get_description(uint32_t, cvk::string_base& out) override;
    GUID get_parent() override { return mainmenu_groups::file_etc; }
    void execute(uint32_t, service_ptr_t<service_base>) override;
};
