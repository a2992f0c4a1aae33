#include "ComponentLoader.h"
#include "Console.h"
#include "FixtureLayout.h"
#include "HostApi.h"
#include "ServiceRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

class ComponentLoaderTest : public ::testing::Test {
protected:
    ComponentLoaderTest() { registry.addModule(service_factory_base::__internal__list); }

    void loadAll() {
        loader.load(
            ComponentLoader::discover(layout.builtin(), layout.profile() / "user-components"));
    }

    FixtureLayout layout;
    Console console{100, false};
    ServiceRegistry registry;
    HostApi api{registry, layout.profile().string()};
    ComponentLoader loader{api, registry, console};
};

TEST_F(ComponentLoaderTest, GoodBundlesBindAndTheirServicesAreFound) {
    const fs::path alpha = layout.addBuiltin(FixtureLayout::kGood, "alpha");
    layout.addBuiltin(FixtureLayout::kGood, "beta");
    loadAll();

    ASSERT_EQ(loader.components().size(), 2u);
    EXPECT_TRUE(console.lines().empty());
    std::set<std::string> names;
    for (auto& p : fixtureProbes(registry)) {
        EXPECT_TRUE(p->services_available());
        names.insert(p->library_name());
        if (std::string(p->library_name()) == "alpha") {
            EXPECT_EQ(p->full_path(), alpha.string());
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"alpha", "beta"}));
}

TEST_F(ComponentLoaderTest, EachBrokenBundleCostsOneLineWithPathAndReasonAndOthersStillLoad) {
    const fs::path old = layout.addBuiltin(FixtureLayout::kOldClient, "a_old");
    const fs::path noEntry = layout.addBuiltin(FixtureLayout::kNoEntry, "b_noentry");
    const fs::path empty = layout.addEmptyBundle("c_empty");
    const fs::path garbage = layout.addGarbageBundle("d_garbage");
    layout.addBuiltin(FixtureLayout::kGood, "e_good");
    loadAll();

    ASSERT_EQ(loader.components().size(), 1u);
    EXPECT_EQ(loader.components()[0].name, "e_good");
    ASSERT_EQ(fixtureProbes(registry).size(), 1u);

    const auto lines = console.lines();
    ASSERT_EQ(lines.size(), 4u);
    auto lineFor = [&](const fs::path& so) {
        const auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(so.string()) != std::string::npos;
        });
        return it == lines.end() ? std::string() : *it;
    };
    EXPECT_NE(lineFor(old).find("client version 80"), std::string::npos) << lineFor(old);
    EXPECT_NE(lineFor(noEntry).find("no entry point quorvane_get_interface"), std::string::npos)
        << lineFor(noEntry);
    EXPECT_NE(lineFor(empty).find("no c_empty.so"), std::string::npos) << lineFor(empty);
    EXPECT_FALSE(lineFor(garbage).empty());
}

TEST_F(ComponentLoaderTest, InstalledUpdateReplacesTheBuiltInBundleOfTheSameName) {
    layout.addBuiltin(FixtureLayout::kGood, "qov_fixture");
    layout.addBuiltin(FixtureLayout::kGood, "other");
    const fs::path installed = layout.addInstalled(FixtureLayout::kUpdate, "qov_fixture");
    loadAll();

    ASSERT_EQ(loader.components().size(), 2u);
    EXPECT_TRUE(console.lines().empty());
    for (auto& p : fixtureProbes(registry)) {
        if (std::string(p->library_name()) != "qov_fixture") continue;
        EXPECT_STREQ(p->version_text(), "2.0");
        EXPECT_EQ(p->full_path(), installed.string());
    }
}

TEST_F(ComponentLoaderTest, DiscoveryTakesOnlyComponentFoldersInNameOrder) {
    std::ofstream(layout.builtin() / "file.component") << "x";
    fs::create_directories(layout.builtin() / ".component");
    layout.addBuiltin(FixtureLayout::kGood, "b");
    layout.addBuiltin(FixtureLayout::kGood, "a");
    const auto found = ComponentLoader::discover(layout.builtin(), layout.root() / "missing");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "a");
    EXPECT_EQ(found[1].name, "b");
}

TEST_F(ComponentLoaderTest, UnloadWithdrawsServicesAndForgetsTheFactories) {
    layout.addBuiltin(FixtureLayout::kGood, "alpha");
    loadAll();
    service_class_ref c = registry.findClass(fixture_probe::class_guid);
    ASSERT_EQ(registry.count(c), 1u);

    const uint64_t mark = Console::global().mark();
    loader.unloadAll();
    EXPECT_TRUE(loader.components().empty());
    // A factory left behind would point into unloaded code.
    EXPECT_EQ(registry.count(c), 0u);
    service_ptr_t<service_base> out;
    EXPECT_FALSE(registry.create(out, c, 0));
    EXPECT_EQ(Console::global().linesSince(mark),
              std::vector<std::string>{"fixture alpha: withdrawn"});
}

}  // namespace
