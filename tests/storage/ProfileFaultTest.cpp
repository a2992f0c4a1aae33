// A profile the file system will not let us write: every store reads what it
// holds, says which file is in the way, and leaves the data as it was.

#include "Stores.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

namespace fs = std::filesystem;
using namespace storage_test;

namespace {

// The lines a console got, one a line.
std::string linesOf(const Console& console) {
    std::string out;
    for (const std::string& line : console.lines()) out += line + "\n";
    return out;
}

// As root (CI), "another user" is root and the children are nobody; as a
// user, a file without write permission stands in for one of another user.
void takeAway(const fs::path& file) {
    if (geteuid() == 0) {
        ASSERT_EQ(chown(file.c_str(), 0, 0), 0);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                  fs::perms::others_read);
    } else {
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
}

void giveBack(const fs::path& file) {
    std::error_code ec;
    if (geteuid() == 0 && fs::exists(file)) {
        ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
    }
    fs::permissions(file, fs::perms::all, ec);
}

struct Trouble {
    const char* name;
    // Whether the seeding session leaves its -wal and -shm behind, as after a crash.
    bool leaveJournal;
    std::function<void(const fs::path& folder, const fs::path& file)> make;
    std::function<void(const fs::path& folder, const fs::path& file)> undo;
    // What the console must name.
    std::function<std::string(const fs::path& folder, const fs::path& file)> culprit;
};

const Trouble kTroubles[] = {
    {"read-only folder", false,
     [](const fs::path& folder, const fs::path&) {
         fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
     },
     [](const fs::path& folder, const fs::path&) { fs::permissions(folder, fs::perms::all); },
     [](const fs::path& folder, const fs::path&) {
         return "the folder " + folder.string() + " cannot be written";
     }},
    {"read-only file", false, [](const fs::path&, const fs::path& file) { takeAway(file); },
     [](const fs::path&, const fs::path& file) { giveBack(file); },
     [](const fs::path&, const fs::path& file) { return file.string() + " cannot be written"; }},
    {"-shm of another user", true,
     [](const fs::path&, const fs::path& file) { takeAway(file.string() + "-shm"); },
     [](const fs::path&, const fs::path& file) { giveBack(file.string() + "-shm"); },
     [](const fs::path&, const fs::path& file) { return file.string() + "-shm cannot be written"; }},
    {"-wal of another user", true,
     [](const fs::path&, const fs::path& file) { takeAway(file.string() + "-wal"); },
     [](const fs::path&, const fs::path& file) { giveBack(file.string() + "-wal"); },
     [](const fs::path&, const fs::path& file) { return file.string() + "-wal cannot be written"; }},
};

std::string seed(const StoreKind& kind, const fs::path& file, int64_t number, bool leaveJournal) {
    return inChild([&] {
        Console console(100, false);
        auto store = kind.open(file, console);
        store->setNumber(number);
        if (leaveJournal) store.release();
        return linesOf(console);
    });
}

std::string numberIn(const StoreKind& kind, const fs::path& file) {
    return inChild([&] {
        Console console(100, false);
        return std::to_string(kind.open(file, console)->number()) + "\n" + linesOf(console);
    });
}

TEST(ProfileFaults, AStoreThatCannotBeWrittenIsReadSaysWhyAndIsLeftAsItIs) {
    for (const StoreKind& kind : storeKinds()) {
        for (const Trouble& trouble : kTroubles) {
            SCOPED_TRACE(std::string(kind.name) + ", " + trouble.name);
            Folder folder;
            const fs::path file = folder.path() / kind.file;
            ASSERT_EQ(seed(kind, file, 3, trouble.leaveJournal), "");
            ASSERT_EQ(fs::exists(file.string() + "-shm"), trouble.leaveJournal);
            const std::string before = readFile(file) + readFile(file.string() + "-wal");

            trouble.make(folder.path(), file);
            const std::string session = inChild([&] {
                Console console(100, false);
                auto store = kind.open(file, console);
                const int64_t seen = store->number();
                // The session goes on; only nothing reaches the file.
                store->setNumber(4);
                store->fill(1000);
                return std::to_string(seen) + "\n" + linesOf(console);
            });
            trouble.undo(folder.path(), file);

            const std::string lines = session.substr(session.find('\n') + 1);
            EXPECT_EQ(session.substr(0, session.find('\n')), "3") << session;
            EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
            EXPECT_NE(lines.find("will not be kept"), std::string::npos) << lines;
            EXPECT_NE(lines.find(trouble.culprit(folder.path(), file)), std::string::npos) << lines;
            EXPECT_EQ(readFile(file) + readFile(file.string() + "-wal"), before);
            EXPECT_TRUE(filesNamed(folder.path(), ".corrupt-").empty());
            // With the trouble gone, the next start finds it all.
            EXPECT_EQ(numberIn(kind, file), "3\n");
        }
    }
}

TEST(ProfileFaults, AnEmptyStoreFileIsSaidAndStartedAfresh) {
    for (const StoreKind& kind : storeKinds()) {
        SCOPED_TRACE(kind.name);
        Folder folder;
        const fs::path file = folder.path() / kind.file;
        std::ofstream{file};
        {
            Console console(100, false);
            auto store = kind.open(file, console);
            EXPECT_EQ(store->number(), -1);
            ASSERT_EQ(console.lines().size(), 1u);
            EXPECT_EQ(console.lines()[0].find(file.string() + " was empty (0 bytes)"),
                      console.lines()[0].find('/'))
                << console.lines()[0];
            store->setNumber(2);
        }
        Console console(100, false);
        EXPECT_EQ(kind.open(file, console)->number(), 2);
        EXPECT_TRUE(console.lines().empty());
        EXPECT_TRUE(filesNamed(folder.path(), ".corrupt-").empty());
    }
}

TEST(ProfileFaults, AFullDiskKeepsTheOldDataAndSaysSoOnce) {
    for (const StoreKind& kind : storeKinds()) {
        SCOPED_TRACE(kind.name);
        Folder folder;
        const fs::path file = folder.path() / kind.file;
        ASSERT_EQ(seed(kind, file, 3, false), "");

        const std::string session = inChild(
            [&] {
                // No file may grow past 64 KiB: room for the -shm, not for the writes.
                const rlimit limit{64 << 10, 64 << 10};
                if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("no limit");
                std::signal(SIGXFSZ, SIG_IGN);
                Console console(100, false);
                auto store = kind.open(file, console);
                // Twice: the console hears of it once.
                store->fill(400'000);
                store->fill(400'000);
                return std::to_string(store->number()) + "\n" + linesOf(console);
            },
            false);
        const std::string lines = session.substr(session.find('\n') + 1);
        EXPECT_EQ(session.substr(0, session.find('\n')), "3") << session;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
        EXPECT_NE(lines.find("cannot save"), std::string::npos) << lines;
        EXPECT_NE(lines.find("File too large"), std::string::npos) << lines;

        EXPECT_EQ(integrity(file), "ok");
        Console console(100, false);
        EXPECT_EQ(kind.open(file, console)->number(), 3);
        EXPECT_TRUE(filesNamed(folder.path(), ".corrupt-").empty());
    }
}

}  // namespace
