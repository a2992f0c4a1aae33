// A playlist file as a crash, a full disk or a bad sector leaves it: the
// store reads what it can, sets a damaged file aside, and saves again.

#include "FuzzTarget.h"

#include "PlaylistStore.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class Track : public metadb_handle {
public:
    const char* get_path() const override { return "file:///music/a.flac"; }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return 1.0; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base&, const service_ptr_t<titleformat_object>&,
                      titleformat_text_filter*) const override {
        return false;
    }
};

}  // namespace

QOV_FUZZ_TARGET(playlist_store) {
    // Memory-backed where there is /dev/shm: the file is rewritten every run.
    static const fs::path folder = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        return base / ("qov-fuzz-playlists-" + std::to_string(getpid()));
    }();
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "playlists.sqlite";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    {
        playlists::PlaylistStore store(file, [](const std::string&) {});
        const playlists::PlaylistStore::Contents contents = store.takeContents();
        // Writing into what was read, as the manager does after loading.
        const service_ptr_t<metadb_handle> track = service_new<Track>();
        if (store.begin()) {
            for (const auto& p : contents.playlists) {
                store.writePlaylist(p.id, 0, p.name + "!", p.focus, p.selection);
                store.putItem(p.id, p.keys.empty() ? 1 : p.keys.back() + 1, *track);
            }
            store.writeState(contents.activeId, contents.order);
            if (!store.commit() && store.lastFailureWasCorruption()) store.recreate();
        }
    }
    fs::remove_all(folder);
    return 0;
}
