#include "FakeHost.h"
#include "component_client.h"
#include "core_api.h"
#include "initquit.h"
#include "std_api.h"

#include <gtest/gtest.h>

namespace {

TEST(CoreApi, AnswersWithoutAHostBeforeServicesAreAvailable) {
    FakeHost host;
    host.mainThread = false;
    host.shuttingDown = true;
    quorvane_get_interface(&host);
    EXPECT_TRUE(core_api::is_main_thread());
    EXPECT_TRUE(core_api::assert_main_thread());
    EXPECT_FALSE(core_api::is_shutting_down());
    EXPECT_TRUE(core_api::is_initializing());
    core_api::ensure_main_thread();  // no host to ask yet: returns
    EXPECT_EQ(host.calls, 0);
    g_quorvane_api = nullptr;
}

TEST(CoreApi, AsksTheHostWhileAvailableAndInfersShutdownAfter) {
    FakeHost host;
    quorvane_client* client = quorvane_get_interface(&host);
    EXPECT_EQ(client, quorvane_get_interface(&host));
    EXPECT_EQ(client->get_version(), 81u);
    client->set_library_path("/opt/q/components/qov_test.component/qov_test.so", "qov_test");
    EXPECT_STREQ(core_api::get_my_file_name(), "qov_test");
    EXPECT_STREQ(core_api::get_my_full_path(), "/opt/q/components/qov_test.component/qov_test.so");

    client->services_init(true);
    host.initializing = true;
    host.mainThread = false;
    EXPECT_TRUE(core_api::is_initializing());
    EXPECT_FALSE(core_api::is_main_thread());
    EXPECT_FALSE(core_api::is_shutting_down());
    EXPECT_GT(host.calls, 0);

    client->services_init(false);
    const int asked = host.calls;
    EXPECT_TRUE(core_api::is_shutting_down());
    EXPECT_FALSE(core_api::is_initializing());
    EXPECT_TRUE(core_api::is_main_thread());
    EXPECT_EQ(host.calls, asked);
    EXPECT_FALSE(core_api::are_services_available());

    g_quorvane_api = nullptr;
    g_initialized = false;
}

TEST(CoreApiDeathTest, EnsureMainThreadStopsOffTheMainThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    BoundFakeHost bound;
    bound.host.mainThread = false;
    EXPECT_DEATH(core_api::ensure_main_thread(), "QVN_BugCheck: ensure_main_thread");
    bound.host.mainThread = true;
    core_api::ensure_main_thread();
}

class quit_impl : public initquit {};

TEST(StdApi, ReturnsTheOneInstance) {
    BoundFakeHost bound;
    service_ptr_t<initquit> one = service_new<quit_impl>();
    bound.host.add(initquit::class_guid, one);
    EXPECT_EQ(qvn::std_api_get<initquit>().get_ptr(), one.get_ptr());
}

TEST(StdApiDeathTest, StopsWhenTheHostHasNoneOrSeveral) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    BoundFakeHost bound;
    EXPECT_DEATH(qvn::std_api_get<initquit>(), "");
    service_ptr_t<initquit> out;
    EXPECT_FALSE(qvn::_standard_api_try_get_internal(out));

    bound.host.add(initquit::class_guid, service_new<quit_impl>());
    bound.host.add(initquit::class_guid, service_new<quit_impl>());
    EXPECT_DEATH(qvn::std_api_get<initquit>(), "");
    EXPECT_FALSE(qvn::_standard_api_try_get_internal(out));
}

}  // namespace
