#include "ConfigStore.h"
#include "Console.h"
#include "FixtureLayout.h"
#include "Host.h"
#include "ServiceRegistry.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <thread>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> fixtureLines(uint64_t mark) {
    std::vector<std::string> out;
    for (auto& l : Console::global().linesSince(mark))
        if (l.rfind("fixture ", 0) == 0) out.push_back(l);
    return out;
}

TEST(HostLifeCycle, HooksRunAfterEveryBundleIsBoundAndQuitUnwindsInOrder) {
    FixtureLayout layout;
    layout.addBuiltin(FixtureLayout::kGood, "alpha");
    layout.addBuiltin(FixtureLayout::kGood, "beta");
    ServiceRegistry registry;
    Host host(layout.profile(), layout.builtin(), registry, Console::global());

    const uint64_t mark = Console::global().mark();
    EXPECT_TRUE(host.api().is_initializing());
    ASSERT_TRUE(host.start());
    EXPECT_FALSE(host.api().is_initializing());
    EXPECT_FALSE(host.api().is_shutting_down());

    host.runQuitHooks();
    EXPECT_TRUE(host.api().is_shutting_down());
    host.unload();
    EXPECT_TRUE(host.components().empty());

    EXPECT_EQ(fixtureLines(mark), (std::vector<std::string>{
                                      "fixture alpha: on_init initializing=1 probes=2",
                                      "fixture beta: on_init initializing=1 probes=2",
                                      "fixture beta: on_quit shutting_down=1",
                                      "fixture alpha: on_quit shutting_down=1",
                                      "fixture beta: withdrawn",
                                      "fixture alpha: withdrawn",
                                  }));
}

TEST(HostLifeCycle, ProfileIsCreatedAndGivenAsPlainFileUrl) {
    FixtureLayout layout;
    const fs::path profile = layout.root() / "new folder" / "with space" / "profile";
    ServiceRegistry registry;
    Host host(profile.string() + "/", layout.builtin(), registry, Console::global());
    ASSERT_TRUE(host.start());
    EXPECT_TRUE(fs::is_directory(profile));
    EXPECT_TRUE(fs::exists(profile / "config.sqlite"));
    // Components strip the scheme and use the rest as a path: no escaping.
    EXPECT_EQ(std::string(host.api().get_profile_path()), "file://" + profile.string());
}

TEST(HostLifeCycle, ComponentsReachTheProfileSettings) {
    FixtureLayout layout;
    layout.addBuiltin(FixtureLayout::kGood, "alpha");
    ServiceRegistry registry;
    {
        Host host(layout.profile(), layout.builtin(), registry, Console::global());
        ASSERT_TRUE(host.start());
        const auto probes = fixtureProbes(registry);
        ASSERT_EQ(probes.size(), 1u);
        EXPECT_EQ(probes[0]->config_roundtrip("cfg_var.fixture", 42), 42);
    }
    Console quiet(10, false);
    ConfigStore store(layout.profile() / "config.sqlite", quiet);
    EXPECT_EQ(store.getInt("cfg_var.fixture"), 42);
}

TEST(HostLifeCycle, EachProfileKeepsItsOwnUserDefaults) {
    FixtureLayout first, second;
    const QString key = QStringLiteral("dravik.update.qov_fixture.last");
    ServiceRegistry registry;
    {
        Host host(first.profile(), first.builtin(), registry, Console::global());
        ASSERT_TRUE(host.openProfile());
        QSettings().setValue(key, 1718000000);
        const std::string file = QSettings().fileName().toStdString();
        EXPECT_EQ(file.rfind(first.profile().string() + "/", 0), 0u) << file;
    }
    {
        Host host(second.profile(), second.builtin(), registry, Console::global());
        ASSERT_TRUE(host.openProfile());
        EXPECT_FALSE(QSettings().contains(key));
    }
    Host again(first.profile(), first.builtin(), registry, Console::global());
    ASSERT_TRUE(again.openProfile());
    EXPECT_EQ(QSettings().value(key).toLongLong(), 1718000000);
}

TEST(HostApi, MainThreadIsTheConstructingThreadWhicheverThreadAsks) {
    ServiceRegistry registry;
    HostApi api(registry, "/tmp/p");
    EXPECT_TRUE(api.is_main_thread());
    EXPECT_TRUE(api.assert_main_thread());
    bool fromWorker = true;
    std::thread([&] { fromWorker = api.is_main_thread(); }).join();
    EXPECT_FALSE(fromWorker);
}

}  // namespace
