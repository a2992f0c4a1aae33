#pragma once

// The updater's start-up hook: each component checks for its own update. Every
// bundle registers it in its own service list, with that bundle's identity.

#include "initquit.h"

class dravik_update_initquit : public initquit {
public:
    void on_init() override;
};
