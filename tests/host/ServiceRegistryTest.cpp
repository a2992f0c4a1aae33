#include "ComponentLoader.h"
#include "Console.h"
#include "FixtureLayout.h"
#include "HostApi.h"
#include "ServiceRegistry.h"

#include "fixture_probe.h"

#include "config_store.h"
#include "console.h"
#include "initquit.h"
#include "std_api.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceRegistry, HostServicesAreFoundThroughStdApiInTheHost) {
    const uint64_t mark = Console::global().mark();
    auto console = qvn::std_api_get<qvn::console>();
    ASSERT_TRUE(console.is_valid());
    console->print("hello from the host");
    EXPECT_EQ(Console::global().linesSince(mark), std::vector<std::string>{"hello from the host"});

    service_ptr_t<qvn::configStore> store;
    EXPECT_TRUE(qvn::_standard_api_try_get_internal(store));
    // Same singleton each time.
    EXPECT_EQ(qvn::std_api_get<qvn::console>().get_ptr(), console.get_ptr());
}

TEST(ServiceRegistry, CountAndCreateSpanTheHostAndEveryBundle) {
    FixtureLayout layout;
    layout.addBuiltin(FixtureLayout::kGood, "alpha");
    layout.addBuiltin(FixtureLayout::kGood, "beta");
    Console quiet(10, false);
    ServiceRegistry registry;
    // Looked up before anything registers, as a bundle's static helper might.
    service_class_ref probeClass = registry.findClass(fixture_probe::class_guid);
    EXPECT_EQ(registry.count(probeClass), 0u);

    registry.addModule(service_factory_base::__internal__list);
    registry.addModule(service_factory_base::__internal__list);
    HostApi api(registry, layout.profile().string());
    ComponentLoader loader(api, registry, quiet);
    loader.load(ComponentLoader::discover(layout.builtin(), {}));

    EXPECT_EQ(registry.count(probeClass), 2u);
    EXPECT_EQ(registry.count(registry.findClass(qvn::console::class_guid)), 1u);
    EXPECT_EQ(registry.count(registry.findClass(initquit::class_guid)), 2u);

    service_ptr_t<service_base> base;
    ASSERT_TRUE(registry.create(base, probeClass, 1));
    service_ptr_t<service_base> untouched = base;
    EXPECT_FALSE(registry.create(untouched, probeClass, 2));
    EXPECT_EQ(untouched, base);

    // The same registry, seen from inside a bundle through the core interface.
    service_ptr_t<fixture_probe> probe;
    probe ^= base;
    EXPECT_EQ(probe->count_from_bundle(fixture_probe::class_guid), 2u);
    EXPECT_EQ(probe->count_from_bundle(qvn::console::class_guid), 1u);
    const uint64_t mark = Console::global().mark();
    probe->print_to_host_console("hello from a bundle");
    EXPECT_EQ(Console::global().linesSince(mark), std::vector<std::string>{"hello from a bundle"});

    probe.release();
    base.release();
    untouched.release();

    loader.unloadAll();
    EXPECT_EQ(registry.count(probeClass), 0u);
    EXPECT_EQ(registry.count(registry.findClass(qvn::console::class_guid)), 1u);
}

}  // namespace
