#pragma once

// A host core for binding tests: a registry of service instances by class GUID
// and switchable answers to the thread and life-cycle questions.

#include "quorvane_api.h"

#include <map>
#include <string>
#include <vector>

class FakeHost final : public quorvane_api {
public:
    // Each added instance counts once for its class.
    void add(const GUID& cls, service_ptr_t<service_base> instance);
    void clear() { m_classes.clear(); }

    bool mainThread = true;
    bool shuttingDown = false;
    bool initializing = false;
    int calls = 0;  // thread and life-cycle questions asked
    std::string profileUrl = "file:///tmp/profile";

    service_class_ref service_enum_find_class(const GUID& guid) override;
    bool service_enum_create(service_ptr_t<service_base>& out, service_class_ref c, size_t index) override;
    size_t service_enum_get_count(service_class_ref c) override;
    QWidget* get_main_window() override { return nullptr; }
    bool assert_main_thread() override { ++calls; return mainThread; }
    bool is_main_thread() override { ++calls; return mainThread; }
    bool is_shutting_down() override { ++calls; return shuttingDown; }
    const char* get_profile_path() override { return profileUrl.c_str(); }
    bool is_initializing() override { ++calls; return initializing; }
    bool is_portable_mode_enabled() override { return false; }
    bool is_quiet_mode_enabled() override { return false; }

private:
    struct Less {
        bool operator()(const GUID& a, const GUID& b) const;
    };
    std::map<GUID, std::vector<service_ptr_t<service_base>>, Less> m_classes;
};

// Points the binding at a fresh FakeHost with services available, and undoes it.
class BoundFakeHost {
public:
    BoundFakeHost();
    ~BoundFakeHost();
    FakeHost host;
};
