#pragma once

// Real media files for the tests, made with the ffmpeg command line on first
// use and kept in the build tree. Tests that change files work on copies.

#include <filesystem>
#include <string>
#include <vector>

class MediaFixtures {
public:
    // "stereo.*" hold 440 Hz at 0.5 on the left and 1000 Hz at 0.25 on the
    // right for 2 s; "mono*" the left channel alone.
    static constexpr double kAmplitude[] = {0.5, 0.25};
    static constexpr double kHz[] = {440.0, 1000.0};

    // Path of a named fixture, made now if missing.
    static std::string path(const std::string& name);

    // A folder of the test's own, removed with the object.
    class Scratch {
    public:
        Scratch();
        ~Scratch();
        std::string file(const std::string& name) const { return (m_dir / name).string(); }
        // Copies fixture `name` in, as `as` when given.
        std::string copy(const std::string& name, const std::string& as = {}) const;

    private:
        std::filesystem::path m_dir;
    };

    static std::vector<unsigned char> readFile(const std::string& path);
    static void writeFile(const std::string& path, const std::vector<unsigned char>& data);
};
