#include "LibraryTestSupport.h"

#include "Console.h"

#include <QApplication>
#include <QThread>

#include <filesystem>
#include <fstream>

QApplication& app() {
    static int argc = 1;
    static char name[] = "library_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    app();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void spinLoop(std::chrono::milliseconds duration) {
    const auto until = std::chrono::steady_clock::now() + duration;
    waitUntil([&] { return std::chrono::steady_clock::now() > until; }, duration * 2);
}

ConsoleLines::ConsoleLines() : m_mark(Console::global().mark()) {}

std::vector<std::string> ConsoleLines::lines() const { return Console::global().linesSince(m_mark); }

size_t ConsoleLines::count(const std::string& text) const {
    size_t n = 0;
    for (const auto& line : lines()) n += line.find(text) != std::string::npos;
    return n;
}

std::string taggedTrack(const std::string& path, const std::string& title, const std::string& artist) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::copy_file(MediaFixtures::path("stereo.flac"), path,
                               std::filesystem::copy_options::overwrite_existing);
    media::TagWriter::Tags tags;
    tags.title = title;
    tags.artist = artist;
    media::TagWriter::write(path, tags);
    return path;
}

std::string brokenTrack(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << "this is no audio at all, only a few words of text";
    return path;
}
