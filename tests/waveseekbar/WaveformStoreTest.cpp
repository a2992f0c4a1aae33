#include "ChildProcess.h"
#include "FakePlayer.h"
#include "WaveformStore.h"

#include <sqlite3.h>
#include <sys/resource.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <thread>

namespace wave {
namespace {

namespace fs = std::filesystem;

Waveform shape(float scale) {
    Waveform w;
    for (size_t i = 0; i < kBins; ++i) {
        w.peak[i] = scale * float(i) / kBins;
        w.rms[i] = w.peak[i] / 2;
    }
    w.complete = true;
    return w;
}

constexpr FileStamp kStamp{1000, 42};

class Store : public ::testing::Test {
protected:
    Store() { bound.host.add(qvn::console::class_guid, console); }

    fs::path file() const { return fs::path(dir.path().toStdString()) / "waveforms.sqlite"; }
    std::unique_ptr<WaveformStore> open(uint64_t limit = 1 << 20) {
        return std::make_unique<WaveformStore>(file(), limit);
    }
    void writeFile(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    size_t movedAside() const {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(dir.path().toStdString())) {
            const std::string name = e.path().filename().string();
            n += name.starts_with("waveforms.sqlite.corrupt-") && !name.ends_with("-wal") &&
                 !name.ends_with("-shm");
        }
        return n;
    }

    QTemporaryDir dir;
    BoundFakeHost bound;
    service_ptr_t<FakeConsole> console = service_new<FakeConsole>();
};

TEST_F(Store, KeepsCompleteSummariesAcrossRestartsForTheSameFileOnly) {
    const Waveform a = shape(0.8f);
    {
        auto store = open();
        store->save("file:///a.flac|0", kStamp, a);
        Waveform partial = shape(0.3f);
        partial.complete = false;
        store->save("file:///b.flac|0", kStamp, partial);
    }
    auto store = open();
    const auto loaded = store->load("file:///a.flac|0", kStamp);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->peak, a.peak);
    EXPECT_EQ(loaded->rms, a.rms);
    EXPECT_TRUE(loaded->complete);
    EXPECT_EQ(store->load("file:///b.flac|0", kStamp), nullptr);
    EXPECT_EQ(store->load("file:///a.flac|1", kStamp), nullptr);
    // The file changed since: scanned again, and the new scan replaces the row.
    EXPECT_EQ(store->load("file:///a.flac|0", {1001, 42}), nullptr);
    EXPECT_EQ(store->load("file:///a.flac|0", {1000, 43}), nullptr);
    store->save("file:///a.flac|0", {1000, 43}, shape(0.5f));
    EXPECT_EQ(store->load("file:///a.flac|0", kStamp), nullptr);
    EXPECT_EQ(store->load("file:///a.flac|0", {1000, 43})->peak, shape(0.5f).peak);
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(Store, EvictsTheLeastRecentlyUsedAndGivesTheSpaceBack) {
    const uint64_t limit = 200 << 10;  // some eight rows
    {
        auto store = open(limit);
        for (int i = 0; i < 30; ++i) {
            store->save("t" + std::to_string(i), kStamp, shape(0.5f));
            ASSERT_NE(store->load("t0", kStamp), nullptr) << i;
            store->markUsed("t0");  // kept by being used
        }
        EXPECT_NE(store->load("t29", kStamp), nullptr);
        EXPECT_NE(store->load("t28", kStamp), nullptr);
        EXPECT_EQ(store->load("t1", kStamp), nullptr);
        EXPECT_EQ(store->load("t20", kStamp), nullptr);
    }
    EXPECT_LE(fs::file_size(file()), limit);

    // A smaller limit shrinks the file at the next save.
    {
        auto store = open(60 << 10);
        store->save("new", kStamp, shape(0.1f));
        EXPECT_NE(store->load("new", kStamp), nullptr);
    }
    EXPECT_LE(fs::file_size(file()), uint64_t(60 << 10));
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(Store, AnUnusableFileIsSetAsideAndTheStoreStartsAfresh) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> spoil;
    };
    const Case cases[] = {
        {"not a database", [this](const fs::path& f) { writeFile(f, std::string(8192, 'x')); }},
        {"a table of another shape",
         [](const fs::path& f) {
             sqlite3* db = nullptr;
             sqlite3_open(f.string().c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE waveforms(name TEXT)", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         }},
        {"damaged pages",
         [this](const fs::path& f) {
             open()->save("kept", kStamp, shape(0.5f));
             std::string bytes(fs::file_size(f), '\0');
             std::ifstream(f, std::ios::binary).read(bytes.data(), bytes.size());
             std::fill(bytes.begin() + 4096, bytes.end(), '\xA5');  // all but the header page
             writeFile(f, bytes);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir.path().toStdString());
        fs::create_directories(dir.path().toStdString());
        const size_t linesBefore = console->lines().size();
        c.spoil(file());

        auto store = open();
        EXPECT_EQ(store->load("kept", kStamp), nullptr);
        EXPECT_EQ(movedAside(), 1u);
        const auto lines = console->lines();
        ASSERT_EQ(lines.size(), linesBefore + 1);
        EXPECT_TRUE(lines.back().starts_with("Waveform Seekbar: unusable waveform store moved to "))
            << lines.back();
        store->save("fresh", kStamp, shape(0.5f));
        EXPECT_NE(store->load("fresh", kStamp), nullptr);
    }
}

TEST_F(Store, AFolderThatCannotHoldTheFileOnlyCostsOneLine) {
    writeFile(fs::path(dir.path().toStdString()) / "profile", "a file, not a folder");
    WaveformStore store(fs::path(dir.path().toStdString()) / "profile" / "waveforms.sqlite", 1 << 20);
    store.save("a", kStamp, shape(0.5f));
    EXPECT_EQ(store.load("a", kStamp), nullptr);
    store.save("b", kStamp, shape(0.5f));
    const auto lines = console->lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("Waveform Seekbar: waveforms will not be kept: ")) << lines[0];
}

TEST_F(Store, AProfileThatTakesNoMoreStillShowsWhatWasKeptAndSaysSoOnce) {
    Folder folder;
    const fs::path file = folder.path() / "waveforms.sqlite";
    // Children play the user (as root, nobody), the seeding one included.
    ASSERT_EQ(inChild([&] {
                  WaveformStore(file, 1 << 20).save("kept", kStamp, shape(0.5f));
                  return std::string();
              }),
              "");
    auto session = [&](const std::function<void()>& trouble) {
        return inChild([&] {
            trouble();
            WaveformStore store(file, 1 << 20);
            std::string out = store.load("kept", kStamp) ? "kept\n" : "lost\n";
            for (int i = 0; i < 20; ++i) store.save("new" + std::to_string(i), kStamp, shape(0.5f));
            out += store.load("new19", kStamp) ? "saved\n" : "not saved\n";
            for (const std::string& line : console->lines()) out += line + "\n";
            return out;
        });
    };

    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    EXPECT_EQ(session([] {}), "kept\nnot saved\nWaveform Seekbar: waveforms will not be kept: the folder " +
                                  folder.path().string() + " cannot be written (Permission denied)\n");
    fs::permissions(folder.path(), fs::perms::all);

    const std::string full = session([] {
        // Room for the -shm, not for twenty rows.
        const rlimit limit{64 << 10, 64 << 10};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    EXPECT_TRUE(full.starts_with("kept\nnot saved\nWaveform Seekbar: cannot use " + file.string() + ": "))
        << full;
    EXPECT_NE(full.find("(File too large)\n"), std::string::npos) << full;
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), 3) << full;

    EXPECT_NE(WaveformStore(file, 1 << 20).load("kept", kStamp), nullptr);
    for (const auto& e : fs::directory_iterator(folder.path()))
        EXPECT_EQ(e.path().filename().string().find(".corrupt-"), std::string::npos) << e.path();
}

TEST_F(Store, TwoScanThreadsShareOneStore) {
    auto store = open();
    auto work = [&](const std::string& prefix) {
        for (int i = 0; i < 20; ++i) {
            const std::string key = prefix + std::to_string(i);
            store->save(key, kStamp, shape(0.5f));
            ASSERT_NE(store->load(key, kStamp), nullptr) << key;
        }
    };
    std::thread a(work, "a"), b(work, "b");
    a.join();
    b.join();
    EXPECT_NE(store->load("a0", kStamp), nullptr);
    EXPECT_NE(store->load("b19", kStamp), nullptr);
}

TEST(FileStamp, OnlyForLocalFilesAndChangesWithTheFile) {
    QTemporaryDir dir;
    const fs::path f = fs::path(dir.path().toStdString()) / "t.flac";
    std::ofstream(f) << "abc";
    const auto before = stampOf("file://" + f.string());
    ASSERT_TRUE(before);
    EXPECT_EQ(before->size, 3u);
    fs::last_write_time(f, fs::last_write_time(f) - std::chrono::seconds(5));
    EXPECT_NE(stampOf("file://" + f.string()), before);
    EXPECT_FALSE(stampOf(f.string()));
    EXPECT_FALSE(stampOf("http://example.com/t.flac"));
    EXPECT_FALSE(stampOf("file://" + (f.parent_path() / "missing.flac").string()));
    EXPECT_FALSE(stampOf("file://" + dir.path().toStdString()));
}

}  // namespace
}  // namespace wave
