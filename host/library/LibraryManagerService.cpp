// library_manager as the components see it: the media library's current list.

#include "MediaLibrary.h"

#include "library_manager.h"
#include "service_factory.h"

namespace library {

namespace {

class LibraryManager : public library_manager {
public:
    bool is_library_enabled() override { return MediaLibrary::instance().isEnabled(); }
    void get_all_items(metadb_handle_list& out) override { out = MediaLibrary::instance().items(); }
    bool is_item_in_library(const service_ptr_t<metadb_handle>& track) override {
        return MediaLibrary::instance().contains(track);
    }
};

service_factory_singleton_t<LibraryManager> g_libraryManagerFactory;

}  // namespace

}  // namespace library
