#pragma once

// Every mainmenu_commands service of every component, one entry per command,
// with the menu group it goes under. Main thread.
//
// A component that throws while describing its commands loses those commands
// (one console line), never the menu.

#include "guid.h"
#include "mainmenu.h"

#include <QString>

#include <vector>

struct MenuCommand {
    service_ptr_t<mainmenu_commands> owner;
    uint32_t index = 0;
    GUID guid{};
    GUID group{};
    uint32_t priority = mainmenu_commands::sort_priority_dontcare;
    QString name;
};

// What a command shows right now (mainmenu_commands::get_display).
struct MenuCommandDisplay {
    bool visible = false;
    QString text;
    uint32_t flags = 0;
};

class MenuCommandCatalog {
public:
    // Ordered by sort priority, then by name.
    static std::vector<MenuCommand> collect();
    static std::vector<MenuCommand> inGroup(const std::vector<MenuCommand>& all, const GUID& group);

    // Hidden when the component throws.
    static MenuCommandDisplay display(const MenuCommand& command);
    // False (and a console line) when the component throws.
    static bool execute(const MenuCommand& command);
};
