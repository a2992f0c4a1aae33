#pragma once

// The host's own preferences pages, offered as preferences_page services like
// any component's so the window builds one tree from them all:
//
//   Display        preferences_page::guid_display: the appearance (system,
//                  light, dark); components hang their look pages under it
//   Media Library  the library folders (LibraryFolders)
//
// GUI thread.

#include "guid.h"

#include <QString>

namespace HostPreferencesPages {

inline constexpr GUID kMediaLibrary{
    0x96A8B7B4, 0x545F, 0x4E9F, {0xA3, 0x74, 0x6D, 0x25, 0x89, 0x5E, 0x85, 0xEB}};

// The appearance the Display page stores: "system", "light" or "dark".
inline constexpr const char* kAppearanceKey = "quorvane.display.appearance";

// Applies the stored appearance. At start-up (the window calls it once)
// "system" forces nothing: a component's start-up hook may already have chosen
// the appearance its theme setting asks for, and that choice stands.
void applySavedAppearance(bool atStartUp = false);

}  // namespace HostPreferencesPages
