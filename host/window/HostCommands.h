#pragma once

// The host's own main-menu commands by GUID (standard_commands), as the window
// provides them: what runs when a component calls standard_commands::run_main
// or the user picks the menu item. Main thread.
//
// Ownership: a Registration withdraws its command when destroyed, so a
// command never outlives the window whose code it runs.

#include "guid.h"

#include <functional>
#include <utility>
#include <vector>

class HostCommands {
public:
    struct Command {
        GUID guid;
        // False makes run() refuse (a service it needs is not registered).
        std::function<bool()> available;
        std::function<void()> run;
    };

    class Registration {
    public:
        Registration() = default;
        Registration(Registration&& o) noexcept : m_id(std::exchange(o.m_id, 0)) {}
        Registration& operator=(Registration&& o) noexcept;
        ~Registration();

    private:
        friend class HostCommands;
        explicit Registration(int id) : m_id(id) {}
        int m_id = 0;
    };

    // A later registration of the same GUID takes over until it goes.
    [[nodiscard]] static Registration add(Command command);
    static bool has(const GUID& guid);
    static bool available(const GUID& guid);
    // False when no available command has the GUID.
    static bool run(const GUID& guid);

private:
    static void remove(int id);
};
