#include "FakeHost.h"
#include "cfg_var.h"
#include "config_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

class CountingStore : public qvn::configStore {
public:
    std::map<std::string, int64_t> ints;
    std::map<std::string, std::string> strings;
    std::atomic<int> reads{0}, writes{0};
    std::chrono::milliseconds readDelay{0};
    std::mutex lock;

    int64_t getConfigInt(const char* name, int64_t def) override {
        slowRead();
        std::lock_guard g(lock);
        auto it = ints.find(name);
        return it == ints.end() ? def : it->second;
    }
    void setConfigInt(const char* name, int64_t value) override {
        ++writes;
        std::lock_guard g(lock);
        ints[name] = value;
    }
    qvn::stringRef getConfigString(const char* name, qvn::stringRef def) override {
        slowRead();
        std::lock_guard g(lock);
        auto it = strings.find(name);
        return it == strings.end() ? def : qvn::string::make(it->second.c_str());
    }
    void setConfigString(const char* name, const char* value) override {
        ++writes;
        std::lock_guard g(lock);
        strings[name] = value;
    }
    void deleteConfig(const char*) override {}

private:
    void slowRead() {
        ++reads;
        std::this_thread::sleep_for(readDelay);
    }
};

constexpr GUID kGuid{0xA47F0E3B, 0x91C2, 0x4D65, {0x8E, 0x09, 0x5B, 0x2C, 0x76, 0xF1, 0x30, 0xAD}};
const char* const kKey = "cfg_var.A47F0E3B-91C2-4D65-8E09-5B2C76F130AD";

class CfgVar : public ::testing::Test {
protected:
    void SetUp() override {
        store = service_new<CountingStore>();
        bound.host.add(qvn::configStore::class_guid, store);
    }
    BoundFakeHost bound;
    service_ptr_t<CountingStore> store;
};

TEST_F(CfgVar, KeyIsUpperCaseGuidWithoutBraces) {
    EXPECT_STREQ(qvn::formatCfgVarName(kGuid), kKey);
    EXPECT_STREQ(qvn::formatCfgVarName(GUID{0x00ab, 0x1, 0xc, {0, 0xd, 0, 0, 0, 0, 0, 0xef}}),
                 "cfg_var.000000AB-0001-000C-000D-0000000000EF");
}

TEST_F(CfgVar, ConstructionNeverTouchesTheStore) {
    cfg_var_modern::cfg_int i(kGuid, 5);
    cfg_var_modern::cfg_string s(kGuid, "x");
    EXPECT_EQ(store->reads, 0);
}

TEST_F(CfgVar, MissingKeysReadAsDefaultsAndStoredOnesWin) {
    cfg_var_modern::cfg_string empty(kGuid, "");
    EXPECT_STREQ(empty.get(), "");
    cfg_var_modern::cfg_int fallback(kGuid, -7);
    EXPECT_EQ(fallback.get(), -7);

    store->ints[kKey] = 1234567890123;
    store->strings[kKey] = "FF8000";
    cfg_var_modern::cfg_int i(kGuid, 0);
    cfg_var_modern::cfg_string s(kGuid, "default");
    EXPECT_EQ(i.get(), 1234567890123);
    EXPECT_STREQ(s.get(), "FF8000");
    EXPECT_EQ(store->writes, 0);
}

TEST_F(CfgVar, SetWritesThroughOnlyWhenTheValueChanges) {
    store->strings[kKey] = "00FF00";
    cfg_var_modern::cfg_string s(kGuid, "");
    s.set("00FF00");  // never read: loads first, finds the same value
    EXPECT_EQ(store->reads, 1);
    EXPECT_EQ(store->writes, 0);

    s.set("FF0000");
    EXPECT_EQ(store->writes, 1);
    EXPECT_EQ(store->strings[kKey], "FF0000");
    EXPECT_STREQ(s.get(), "FF0000");
    EXPECT_EQ(store->reads, 1);  // memory is authoritative after the first load

    s.set("FF0000");
    s.set(nullptr);
    EXPECT_EQ(store->writes, 2);
    EXPECT_EQ(store->strings[kKey], "");

    cfg_var_modern::cfg_int i(kGuid, 3);
    i.set(3);
    EXPECT_EQ(store->writes, 2);
    i.set(4);
    EXPECT_EQ(i.get(), 4);
    EXPECT_EQ(store->ints[kKey], 4);
    EXPECT_EQ(store->writes, 3);
}

TEST_F(CfgVar, ConcurrentFirstUsesLoadOnceAndAllSeeTheLoadedValue) {
    store->ints[kKey] = 99;
    store->strings[kKey] = "loaded";
    store->readDelay = std::chrono::milliseconds(30);
    cfg_var_modern::cfg_int i(kGuid, 0);
    cfg_var_modern::cfg_string s(kGuid, "");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            if (i.get() != 99) ++wrong;
            if (std::string(s.get().get_ptr()) != "loaded") ++wrong;
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(store->reads, 2);
}

}  // namespace
