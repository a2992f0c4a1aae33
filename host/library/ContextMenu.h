#pragma once

// The host's track context menu (contextmenu_manager): for a list of tracks or
// the active playlist's selection,
//
//   Play
//   Add to Playback Queue
//   Remove from Playback Queue      only when one of the tracks is queued
//   ---
//   Open Containing Folder
//   Copy Path
//   ---
//   Rating > 1 Star .. 5 Stars, ---, Clear   the tracks' common rating checked
//   ---
//   Properties                      disabled until the window sets a handler
//
// A command acts on the tracks the menu was built for; items of a playlist
// that has changed since are left out, so a stale menu does nothing rather
// than the wrong thing.
//
// Threads: main thread.

#include "contextmenu.h"
#include "metadb_handle.h"

#include <functional>

namespace library {

using PropertiesHandler = std::function<void(const metadb_handle_list& tracks)>;

// The window's properties dialog; an empty handler disables "Properties".
void setPropertiesHandler(PropertiesHandler handler);

}  // namespace library
