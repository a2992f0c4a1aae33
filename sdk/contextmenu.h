#pragma once

// The host's track context menu as a tree of nodes: the commands that apply to
// a list of tracks, for a component to show in a menu of its own.
//
// Threads: main thread.
// Ownership: the host's factory makes a new manager per request, so each fetch
// is a fresh manager with its own tree. Nodes belong to their manager and stay valid until it is
// initialised again or released; keep the manager as long as its nodes are
// shown.
// Failure: a manager that has not been initialised has no root. Executing a
// command whose tracks have meanwhile gone does nothing.

#include "cvk_string.h"
#include "guid.h"
#include "metadb_handle.h"
#include "service.h"
#include "std_api.h"

#include <cstddef>
#include <cstdint>

class contextmenu_node {
public:
    enum t_type : int {
        type_popup = 0,
        type_command = 1,
        type_separator = 2,
        // A node that only holds children: the root.
        type_group = 3,
    };

    enum : uint32_t {
        flag_checked = 1u << 0,
        flag_disabled = 1u << 1,
        flag_grayed = 1u << 2,
        flag_radiochecked = 1u << 3,
    };

    virtual t_type get_type() const = 0;
    // The display name ("&" may mark a mnemonic) and flags; `out` is replaced.
    // False, with an empty name and no flags, for separators and the root.
    virtual bool get_display_data(cvk::string_base& out, uint32_t& flags) const = 0;
    virtual size_t get_num_children() const = 0;
    // Null when out of range.
    virtual contextmenu_node* get_child(size_t index) const = 0;
    // The command's GUID; pfc_guid_null for other nodes.
    virtual GUID get_guid() const = 0;
    // Runs a command node on the manager's tracks; other nodes do nothing.
    virtual void execute() = 0;

protected:
    ~contextmenu_node() = default;
};

class contextmenu_manager : public service_base {
    QVN_SERVICE_INTERFACE(contextmenu_manager, service_base,
                          {0x24E6A68E, 0x9165, 0x4CBE, {0x89, 0x2E, 0x74, 0xDC, 0x9A, 0x21, 0xE7, 0xB9}});

    enum : uint32_t {
        flag_show_shortcuts = 1u << 0,
        flag_show_shortcuts_global = 1u << 1,
        // Only the commands the user has chosen for the short menu.
        flag_view_reduced = 1u << 2,
        // Every command, whatever the user's menu choice.
        flag_view_full = 1u << 3,
    };

    // Builds the tree for `data`.
    virtual void init_context(const metadb_handle_list& data, uint32_t flags) = 0;
    // Builds the tree for the selection of the active playlist.
    virtual void init_context_playlist(uint32_t flags) = 0;
    // Null before an init.
    virtual contextmenu_node* get_root() = 0;

    // A fresh manager.
    static service_ptr_t<contextmenu_manager> g_create() { return qvn::std_api_get<contextmenu_manager>(); }
};
