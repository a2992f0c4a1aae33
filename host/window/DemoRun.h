#pragma once

// `--demo`: the generated library in a "Demo" playlist, playing, and without a
// display two screenshots of the real window. Main thread.

#include <QString>

#include <filesystem>

class Console;
class MainWindow;

namespace DemoRun {

// Makes the library (once), keeps it in the media library and, in a profile
// without playlists, fills a "Demo" playlist. False when the library cannot be
// made (the console says why).
bool prepare(const std::filesystem::path& profileDir, Console& console);

// Plays the active playlist from its first item.
void play();

// After a few seconds of playback: PROFILE/screenshots/classic.png, menu.png
// (the Playback menu open), then the ovix layout and ovix.png; prints the paths and ends the event loop with 0
// (1 when a picture cannot be written).
void captureAndQuit(MainWindow& window, const std::filesystem::path& profileDir, Console& console);

}  // namespace DemoRun
