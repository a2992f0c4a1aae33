#pragma once

// Main-menu commands that components add, the host's groups they go under, and
// running any command by its GUID.
//
// Threads: main thread.
// Ownership: mainmenu_commands are the components' services, created through
// their factories; the host's manager is its one instance.
// Failure: running an unknown or disabled command returns false.

#include "cvk_string.h"
#include "guid.h"
#include "service.h"

#include <cstdint>

// The host's menu groups, by GUID.
namespace mainmenu_groups {
inline constexpr GUID file{0xEC8C6326, 0x6CB3, 0x4534, {0xA5, 0xF2, 0x85, 0x02, 0x0D, 0x2A, 0xC9, 0xF6}};
// The end of the File menu: miscellaneous file commands.
inline constexpr GUID file_etc{0xCAF620FA, 0xA4AB, 0x418A, {0xAB, 0x89, 0x7F, 0x2F, 0xC2, 0x3B, 0x51, 0x28}};
inline constexpr GUID edit{0xA70FF8B7, 0xF81A, 0x4B33, {0x8E, 0xC5, 0xB3, 0x67, 0xF3, 0xE2, 0x8F, 0xFF}};
inline constexpr GUID view{0xCF95C008, 0x0361, 0x4B0D, {0x9B, 0x27, 0x41, 0xD7, 0xF9, 0xC4, 0xD5, 0xA7}};
inline constexpr GUID playback{0x83EED005, 0x41A4, 0x4C25, {0xA5, 0xB2, 0x6F, 0xA8, 0x99, 0x7B, 0x10, 0x1C}};
inline constexpr GUID library{0x15D22753, 0x9D30, 0x4929, {0xAA, 0x14, 0x51, 0x24, 0x01, 0x6F, 0x7E, 0x68}};
inline constexpr GUID help{0x0181A6A2, 0xD471, 0x4A39, {0xB3, 0x9E, 0xC1, 0xB6, 0x04, 0x1F, 0x14, 0x4D}};
}  // namespace mainmenu_groups

class mainmenu_commands : public service_base {
    QVN_SERVICE_INTERFACE(mainmenu_commands, service_base,
                          {0xC1818529, 0x6FB0, 0x4420, {0xA3, 0x68, 0xC6, 0xCB, 0x5E, 0x73, 0xA8, 0x0B}});

    enum : uint32_t {
        flag_disabled = 1u << 0,
        flag_checked = 1u << 1,
        flag_radiochecked = 1u << 2,
    };

    static constexpr uint32_t sort_priority_base = 0x10000;
    // No preference: the host orders such commands by name.
    static constexpr uint32_t sort_priority_dontcare = 0x80000000;
    static constexpr uint32_t sort_priority_last = 0xFFFFFFFF;

    virtual uint32_t get_command_count() = 0;
    virtual GUID get_command(uint32_t index) = 0;
    // `out` is replaced.
    virtual void get_name(uint32_t index, cvk::string_base& out) = 0;
    // `out` is replaced; false when the command has no description.
    virtual bool get_description(uint32_t index, cvk::string_base& out) = 0;
    // The mainmenu_groups entry the commands go under.
    virtual GUID get_parent() = 0;
    virtual uint32_t get_sort_priority() { return sort_priority_dontcare; }
    // The text and flags to show now; false hides the command.
    virtual bool get_display(uint32_t index, cvk::string_base& text, uint32_t& flags) {
        flags = 0;
        get_name(index, text);
        return true;
    }
    // `callback` is reserved for the caller's context; it may be null.
    virtual void execute(uint32_t index, service_ptr_t<service_base> callback) = 0;
};

class mainmenu_manager : public service_base {
    QVN_SERVICE_INTERFACE(mainmenu_manager, service_base,
                          {0x043E78E6, 0x4C43, 0x46A7, {0xAB, 0x5F, 0xF6, 0x90, 0x88, 0x34, 0x2D, 0xC3}});

    // Runs the host's own command or any component's; false when no enabled
    // command has that GUID.
    virtual bool run_command(const GUID& command) = 0;
};
