#include "ConfigStore.h"
#include "Console.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ConfigStoreTest : public ::testing::Test {
protected:
    fs::path file() const { return fs::path(m_dir.path().toStdString()) / "config.sqlite"; }
    fs::path dir() const { return m_dir.path().toStdString(); }

    std::vector<fs::path> movedAside() const {
        std::vector<fs::path> out;
        for (auto& e : fs::directory_iterator(dir())) {
            const std::string name = e.path().filename().string();
            if (name.starts_with("config.sqlite.corrupt-") && !name.ends_with("-wal") &&
                !name.ends_with("-shm"))
                out.push_back(e.path());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    QTemporaryDir m_dir;
    Console console{100, false};
};

TEST_F(ConfigStoreTest, ValuesPersistAcrossReopening) {
    {
        ConfigStore store(file(), console);
        ASSERT_TRUE(store.isPersistent());
        store.setInt("int", -5);
        store.setInt("int", int64_t(1) << 40);
        store.setString("text", "Grüße, \"quoted\" 'x'");
        store.setString("empty", "");
        store.setInt("gone", 1);
        store.remove("gone");
        store.remove("never-there");
    }
    ConfigStore store(file(), console);
    EXPECT_EQ(store.getInt("int"), int64_t(1) << 40);
    EXPECT_EQ(store.getString("text"), "Grüße, \"quoted\" 'x'");
    EXPECT_EQ(store.getString("empty"), "");
    EXPECT_EQ(store.getInt("gone"), std::nullopt);
    EXPECT_EQ(store.getString("missing"), std::nullopt);
    // A value read as the other type is absent rather than a made-up number.
    EXPECT_EQ(store.getInt("text"), std::nullopt);
    EXPECT_EQ(store.getString("int"), std::nullopt);
    EXPECT_TRUE(console.lines().empty());
}

TEST_F(ConfigStoreTest, FileIsInWalMode) {
    ConfigStore store(file(), console);
    store.setInt("k", 1);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "wal");
    sqlite3_finalize(st);
    sqlite3_close(db);
}

TEST_F(ConfigStoreTest, EverySetSurvivesAProcessThatDiesRightAfter) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        Console quiet(10, false);
        auto* store = new ConfigStore(file(), quiet);  // never closed: the process just ends
        store->setInt("a", 7);
        store->setString("b", "kept");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ConfigStore store(file(), console);
    EXPECT_EQ(store.getInt("a"), 7);
    EXPECT_EQ(store.getString("b"), "kept");
}

TEST_F(ConfigStoreTest, ConcurrentWritersFromThreadsLoseNothing) {
    constexpr int kThreads = 4;
    constexpr int kKeys = 40;
    {
        ConfigStore store(file(), console);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                for (int i = 0; i < kKeys; ++i) {
                    const std::string key = "t" + std::to_string(t) + "." + std::to_string(i);
                    store.setInt(key, t * 1000 + i);
                    store.setString(key + ".s", key);
                    EXPECT_EQ(store.getInt(key), t * 1000 + i);
                    store.setInt("shared", i);
                }
            });
        for (auto& th : threads) th.join();
    }
    ConfigStore store(file(), console);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kKeys; ++i) {
            const std::string key = "t" + std::to_string(t) + "." + std::to_string(i);
            EXPECT_EQ(store.getInt(key), t * 1000 + i);
            EXPECT_EQ(store.getString(key + ".s"), key);
        }
    EXPECT_EQ(store.getInt("shared"), kKeys - 1);
    EXPECT_TRUE(console.lines().empty());
}

TEST_F(ConfigStoreTest, FileThatIsNoDatabaseIsMovedAsideWithItsLogNotDeleted) {
    const std::string junk(8192, 'x');
    std::ofstream(file(), std::ios::binary) << junk;
    std::ofstream(file().string() + "-wal", std::ios::binary) << "stale log";
    {
        ConfigStore store(file(), console);
        ASSERT_TRUE(store.isPersistent());
        store.setInt("fresh", 1);

        const auto aside = movedAside();
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(store.movedAside(), aside[0]);
        EXPECT_EQ(readFile(aside[0]), junk);
        // The log goes along, intact, under the name SQLite pairs with the file.
        EXPECT_EQ(readFile(aside[0].string() + "-wal"), "stale log");
        ASSERT_EQ(console.lines().size(), 1u);
        EXPECT_NE(console.lines()[0].find(aside[0].string()), std::string::npos)
            << console.lines()[0];
    }
    ConfigStore again(file(), console);
    EXPECT_EQ(again.getInt("fresh"), 1);
    EXPECT_EQ(movedAside().size(), 1u);
}

TEST_F(ConfigStoreTest, DamagedDatabaseIsMovedAsideAndAnEarlierOneIsNotOverwritten) {
    auto makeDamaged = [&] {
        {
            ConfigStore store(file(), console);
            for (int i = 0; i < 150; ++i)
                store.setString("key" + std::to_string(i), std::string(200, 'v'));
        }
        // Scribble over the b-tree pages past the header page.
        std::fstream f(file(), std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(4096);
        const std::string junk(3 * 4096, '\xA5');
        f.write(junk.data(), std::streamsize(junk.size()));
    };
    makeDamaged();
    const std::string damaged = readFile(file());
    { ConfigStore store(file(), console); }
    ASSERT_EQ(movedAside().size(), 1u);
    EXPECT_EQ(readFile(movedAside()[0]), damaged);

    // Twice within the same second: a second name, not a lost first file.
    makeDamaged();
    { ConfigStore store(file(), console); }
    EXPECT_EQ(movedAside().size(), 2u);
}

TEST_F(ConfigStoreTest, WhenNoFileCanBeMadeValuesLiveInMemoryAndTheConsoleSaysSo) {
    ConfigStore store(dir() / "no" / "such" / "folder" / "config.sqlite", console);
    EXPECT_FALSE(store.isPersistent());
    ASSERT_EQ(console.lines().size(), 1u);
    EXPECT_NE(console.lines()[0].find("will not be kept"), std::string::npos);
    store.setInt("k", 3);
    EXPECT_EQ(store.getInt("k"), 3);
}

}  // namespace
