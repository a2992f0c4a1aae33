#include "componentversion.h"
#include "initquit.h"
#include "service_factory.h"

#include <gtest/gtest.h>

namespace {

class base_iface : public service_base {
    QVN_SERVICE_INTERFACE(base_iface, service_base, {0x11111111, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}});
    virtual int value() = 0;
};

class derived_iface : public base_iface {
    QVN_SERVICE_INTERFACE(derived_iface, base_iface, {0x11111111, 1, 2, {1, 2, 3, 4, 5, 6, 7, 9}});
};

int g_destroyed = 0;

class derived_impl : public derived_iface {
public:
    ~derived_impl() { ++g_destroyed; }
    int value() override { return 42; }
};

class quit_impl : public initquit {};

TEST(Service, CountsReferencesAndFreesOnLastRelease) {
    g_destroyed = 0;
    service_ptr_t<derived_iface> a = service_new<derived_impl>();
    EXPECT_EQ(a->service_add_ref(), 2);
    EXPECT_EQ(a->service_release(), 1);
    {
        service_ptr_t<derived_iface> b = a;
        service_ptr_t<derived_iface> c = std::move(b);
        EXPECT_FALSE(b.is_valid());
        EXPECT_EQ(c->service_add_ref(), 3);
        c->service_release();
    }
    EXPECT_EQ(g_destroyed, 0);
    a.reset();
    EXPECT_EQ(g_destroyed, 1);
}

TEST(Service, QueryWalksTheInterfaceChainAndNothingElse) {
    service_ptr_t<derived_iface> obj = service_new<derived_impl>();
    service_ptr_t<service_base> out;
    EXPECT_TRUE(obj->service_query(out, base_iface::class_guid));
    EXPECT_EQ(out.get_ptr(), static_cast<service_base*>(obj.get_ptr()));
    EXPECT_EQ(obj->service_add_ref(), 3);  // obj, out, and this call
    obj->service_release();

    service_ptr_t<service_base> untouched = out;
    EXPECT_FALSE(obj->service_query(untouched, initquit::class_guid));
    EXPECT_EQ(untouched.get_ptr(), out.get_ptr());

    // A GUID differing only in its last trailing byte is another interface.
    GUID near = derived_iface::class_guid;
    near.Data4[7] ^= 0x80;
    EXPECT_FALSE(obj->service_query(out, near));
}

TEST(Service, CastsAssignThroughQueries) {
    service_ptr_t<service_base> base = service_new<derived_impl>();
    service_ptr_t<base_iface> typed;
    typed ^= base;
    ASSERT_TRUE(typed.is_valid());
    EXPECT_EQ(typed->value(), 42);

    service_ptr_t<initquit> wrong;
    EXPECT_FALSE(wrong &= base);
    EXPECT_FALSE(wrong.is_valid());

    typed ^= service_ptr_t<service_base>();
    EXPECT_FALSE(typed.is_valid());
}

TEST(ServiceDeathTest, ForcedCastToMissingInterfaceStops) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    service_ptr_t<service_base> base = service_new<derived_impl>();
    EXPECT_DEATH(
        {
            service_ptr_t<initquit> q;
            q ^= base;
        },
        "forced cast failure");
}

TEST(Service, SingletonFactoryHandsOutOneObjectAndKeepsItsLoadCount) {
    service_factory_singleton_t<quit_impl> factory;
    service_ptr_t<service_base> a, b;
    factory.instance_create(a);
    factory.instance_create(b);
    EXPECT_EQ(a.get_ptr(), b.get_ptr());
    EXPECT_EQ(a->service_add_ref(), 4);  // holder, a, b, this call
    a->service_release();
    a.reset();
    b.reset();
    EXPECT_EQ(factory.get_static_instance().service_add_ref(), 2);
    EXPECT_EQ(factory.get_static_instance().service_release(), 1);
}

TEST(Service, SingleFactoryInstanceIsNeverCounted) {
    service_factory_single_t<quit_impl> factory;
    service_ptr_t<service_base> a;
    factory.instance_create(a);
    EXPECT_EQ(a->service_add_ref(), 1);
    EXPECT_EQ(a->service_release(), 1);
    EXPECT_EQ(a->service_release(), 1);
    a.reset();
    EXPECT_EQ(factory.get_static_instance().service_release(), 1);
}

TEST(Service, FactoriesLinkThemselvesAtTheListHead) {
    service_factory_base* before = service_factory_base::__internal__list;
    {
        service_factory_single_t<quit_impl> first;
        service_factory_singleton_t<quit_impl> second;
        EXPECT_EQ(service_factory_base::__internal__list, &second);
        EXPECT_EQ(second.get_next(), &first);
        EXPECT_EQ(first.get_next(), before);
        EXPECT_EQ(first.get_class_guid(), initquit::class_guid);
        service_factory_base::__internal__list = before;
    }
}

}  // namespace
