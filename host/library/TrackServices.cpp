#include "TrackServices.h"

#include "IncomingItems.h"
#include "MainThreadCallbacks.h"
#include "MediaLibrary.h"
#include "Metadb.h"

#include "playlist_callback.h"
#include "std_api.h"

#include <utility>

namespace library {

namespace {

// Tracks entering a playlist by any road (drop, paste, library window,
// component) get their "added" time.
class AddedTracker final : public playlist_callback_impl_base {
public:
    AddedTracker() : playlist_callback_impl_base(flag_on_items_added | flag_on_items_replaced) {}

    void on_items_added(size_t, size_t, const metadb_handle_list& data, const bit_array&) override {
        Metadb::instance().noteAdded(data);
    }
    void on_items_replaced(size_t, const bit_array&,
                           const std::vector<t_on_items_replaced_entry>& data) override {
        metadb_handle_list tracks;
        for (const auto& entry : data) tracks.push_back(entry.new_item);
        Metadb::instance().noteAdded(tracks);
    }
};

// Not a static object: destroyed at exit it would unregister from a playlist
// manager that may be gone by then.
AddedTracker* g_addedTracker = nullptr;

}  // namespace

void startTrackServices(const std::filesystem::path& profileDir) {
    MainThreadCallbacks::instance().reopen();
    IncomingItems::instance().reopen();
    Metadb::instance().openStatistics(profileDir / kStatisticsFileName);
    MediaLibrary::instance().loadFolders();
    service_ptr_t<playlist_manager> playlists;
    if (!g_addedTracker && qvn::_standard_api_try_get_internal(playlists)) g_addedTracker = new AddedTracker;
}

void stopTrackServices() {
    delete std::exchange(g_addedTracker, nullptr);
    IncomingItems::instance().shutdown();
    MediaLibrary::instance().stop();
    MainThreadCallbacks::instance().drain();
    Metadb::instance().closeStatistics();
}

}  // namespace library
