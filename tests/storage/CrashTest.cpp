// kill -9 while the stores write, over and over: every file stays sound and
// holds one whole version of what was written, the last one committed or an
// earlier one, never a mix of two and never nothing.

#include "Stores.h"

#include "ConfigStore.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

namespace fs = std::filesystem;
using namespace storage_test;

namespace {

constexpr int kKills = 200;

// Version v of a playlist: named "vV", holding 1 + (V * 7 + salt) % 23 items "V.I".
size_t sizeOf(int64_t v, size_t salt) { return 1 + size_t(v * 7 + int64_t(salt)) % 23; }

std::string itemOf(int64_t v, size_t i) { return std::to_string(v) + "." + std::to_string(i); }

// Moves playlist `p` from version v-1 to v the way edits do: row by row,
// replacing, removing at the end or adding there, and renaming.
void advance(playlists::PlaylistManager& m, size_t p, int64_t v, size_t salt) {
    const size_t want = sizeOf(v, salt);
    size_t have = m.playlist_get_item_count(p);
    if (have > want) m.playlist_remove_items(p, bit_array_range(want, have - want));
    have = std::min(have, want);
    for (size_t i = 0; i < have; ++i) m.playlist_replace_item(p, i, service_new<PathTrack>(itemOf(v, i)));
    metadb_handle_list more;
    for (size_t i = have; i < want; ++i) more.push_back(service_new<PathTrack>(itemOf(v, i)));
    m.playlist_add_items(p, more, bit_array_false());
    const std::string name = "v" + std::to_string(v);
    m.playlist_rename(p, name.c_str(), name.size());
}

// The one version playlist `p` holds whole, or -1 with the reason in `error`.
int64_t versionOf(playlists::PlaylistManager& m, size_t p, size_t salt, std::string& error) {
    cvk::stringLite name;
    m.playlist_get_name(p, name);
    const int64_t v = std::stoll(std::string(name.c_str()).substr(1));
    const size_t count = m.playlist_get_item_count(p);
    if (count != sizeOf(v, salt))
        error = "v" + std::to_string(v) + " with " + std::to_string(count) + " items";
    for (size_t i = 0; i < count && error.empty(); ++i)
        if (std::string(m.playlist_get_item_handle(p, i)->get_path()) != itemOf(v, i))
            error = "v" + std::to_string(v) + " holds " + m.playlist_get_item_handle(p, i)->get_path();
    return error.empty() ? v : -1;
}

// The child: writes new versions to every store until it is killed.
[[noreturn]] void writeForever(const fs::path& folder, int ready) {
    Console console(100, false);
    auto playlists = openPlaylists(folder / "playlists.sqlite", console);
    ConfigStore settings(folder / "settings.sqlite", console);
    const auto statistics = storeKind("statistics").open(folder / "library.sqlite", console);
    if (playlists->get_playlist_count() == 0) {
        playlists->create_playlist("v0", SIZE_MAX, SIZE_MAX);
        playlists->create_playlist("v0", SIZE_MAX, SIZE_MAX);
    }
    // On from the version the playlists hold: the settings may lag one behind.
    cvk::stringLite name;
    playlists->playlist_get_name(0, name);
    int64_t v = std::stoll(std::string(name.c_str()).substr(1));
    (void)!write(ready, "r", 1);
    for (;;) {
        ++v;
        advance(*playlists, 0, v, 0);
        advance(*playlists, 1, v, 5);
        playlists->flush();
        settings.setInt("version", v);
        settings.setString("text", std::string(size_t(v % 3000), char('a' + v % 26)));
        statistics->setNumber(1 + v % 5);
    }
}

TEST(StorageCrash, KillsWhileWritingLeaveSoundFilesHoldingWholeVersions) {
    Folder folder;
    std::mt19937 random(20240611);
    int64_t lastVersion = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            close(ready[0]);
            writeForever(folder.path(), ready[1]);
        }
        close(ready[1]);
        char byte;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 30'000));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        for (const char* file : {"playlists.sqlite", "settings.sqlite", "library.sqlite"})
            ASSERT_EQ(integrity(folder.path() / file), "ok") << file;
        Console console(100, false);
        auto playlists = openPlaylists(folder.path() / "playlists.sqlite", console);
        if (playlists->get_playlist_count() == 0) {
            // Killed before the first save: nothing yet is all there may be.
            ASSERT_EQ(lastVersion, 0);
            playlists->close();
            continue;
        }
        ASSERT_EQ(playlists->get_playlist_count(), 2u);
        std::string error;
        const int64_t first = versionOf(*playlists, 0, 0, error);
        ASSERT_TRUE(error.empty()) << error;
        ASSERT_EQ(versionOf(*playlists, 1, 5, error), first) << error;
        ASSERT_GE(first, lastVersion);
        lastVersion = first;
        playlists->close();
        ConfigStore settings(folder.path() / "settings.sqlite", console);
        EXPECT_TRUE(settings.isPersistent());
        EXPECT_TRUE(console.lines().empty()) << console.lines()[0];
    }
    // Most kills fell on a write, not before the first one.
    EXPECT_GT(lastVersion, kKills / 2);
}

}  // namespace
