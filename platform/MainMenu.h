#pragma once

// The application's main menu: one for all its windows, as on the Mac. The
// host names its menu bar here; views look items up in it, for instance to
// fire an item by its shortcut when the keyboard layout types no Latin letter.
// Main thread.

#include "platform_export.h"

class QMenu;
class QMenuBar;

namespace platform {

class QOV_PLATFORM_API MainMenu {
public:
    // Null when there is none, also once it has been destroyed.
    static QMenuBar* bar();
    static void setBar(QMenuBar* bar);

    // Brings the menu's own items up to date as showing it does: items made
    // only when the menu shows are made, enabled states follow the focused
    // view. Its submenus are updated when they are looked into.
    static void update(QMenu* menu);
};

}  // namespace platform
