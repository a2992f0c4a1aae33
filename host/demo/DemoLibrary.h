#pragma once

// The demo library that `quorvane --demo` plays: three albums of generated,
// tagged tracks (FLAC, MP3, Ogg Vorbis; 20 s to 4 min) in PROFILE/demo-music,
// one album with an embedded front cover, one with a cover.jpg beside its
// tracks, one without art.
//
// The library is made once: it is built in a scratch folder and moved into
// place whole, so a folder that exists is complete and is never touched again.
// Encoding runs the ffmpeg command line; an ffmpeg without an MP3 encoder
// makes that album FLAC instead.
//
// Threads: call on the main thread of a QGuiApplication (covers draw text);
// the work spreads over worker threads and takes a few seconds.

#include <filesystem>
#include <string>
#include <vector>

namespace demo {

class DemoLibrary {
public:
    // PROFILE/demo-music.
    static std::filesystem::path folder(const std::filesystem::path& profileDir);

    // Makes the library unless it exists. False, with the reason in `error`,
    // when it could not be made; nothing half-made is left behind.
    static bool ensure(const std::filesystem::path& profileDir, std::string* error = nullptr);

    // The audio files of the library in album and track order; empty when it
    // does not exist.
    static std::vector<std::filesystem::path> tracks(const std::filesystem::path& profileDir);
};

}  // namespace demo
