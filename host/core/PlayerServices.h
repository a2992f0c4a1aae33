#pragma once

// The host's player: playlists, track services and playback, opened around the
// components' life cycle.
//
//   open()            after the settings store, before any bundle binds (their
//                     start-up hooks may read and lock playlists)
//   stopPlayback()    before the components' quit hooks: they hear stop(3)
//   beforeUnload()    after the quit hooks: locks and pending work that hold
//                     component code are dropped
//   close()           after the components are gone: playlists saved
//
// Main thread.

#include <filesystem>

class Console;

namespace PlayerServices {

void open(const std::filesystem::path& profileDir, Console& console);
void stopPlayback();
void beforeUnload();
void close();

}  // namespace PlayerServices
