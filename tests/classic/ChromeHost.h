#pragma once

// What the Classic toolbar, status bar, tab strip and library search meet in
// the player, for component tests: the Classic test host with a library the
// test fills. Beeps are counted instead of heard.

#include "ClassicHost.h"
#include "library_manager.h"

class FakeLibrary : public library_manager {
public:
    bool is_library_enabled() override { return enabled; }
    void get_all_items(metadb_handle_list& out) override { out = tracks; }
    bool is_item_in_library(const service_ptr_t<metadb_handle>&) override { return false; }

    bool enabled = true;
    metadb_handle_list tracks;
};

class ChromeHost : public ClassicHost {
public:
    ChromeHost();
    ~ChromeHost();

    service_ptr_t<FakeLibrary> library = service_new<FakeLibrary>();
    int beeps = 0;
};
