#pragma once

// What the track-service tests share: the application whose main loop carries
// the services' hand-backs, waiting on that loop, console lines, and tagged
// audio files made from the media fixtures.

#include "MediaFixtures.h"
#include "TagWriter.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QApplication;

QApplication& app();

// Runs the main loop until `done` holds; false after `timeout`.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Lets queued main-loop work run for a moment.
void spinLoop(std::chrono::milliseconds duration = std::chrono::milliseconds(50));

// Console lines printed while this object lives.
class ConsoleLines {
public:
    ConsoleLines();
    std::vector<std::string> lines() const;
    // Lines containing `text`.
    size_t count(const std::string& text) const;

private:
    uint64_t m_mark;
};

// A FLAC copy of the 2-second stereo fixture at `path` carrying `title`
// (and `artist`, when given).
std::string taggedTrack(const std::string& path, const std::string& title, const std::string& artist = {});
// A file with an audio extension that holds no audio.
std::string brokenTrack(const std::string& path);
