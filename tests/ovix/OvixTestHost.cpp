#include "OvixTestHost.h"

#include <thread>

namespace {

class FakeExtractor : public album_art_extractor_instance_v2 {
public:
    FakeExtractor(FakeAlbumArt& art, std::string location) : _art(art), _location(std::move(location)) {}

    service_ptr_t<album_art_data> query(const GUID& what, abort_callback& abort) override {
        ++_art.queries;
        struct Done {
            FakeAlbumArt& art;
            ~Done() { ++art.finished; }
        } done{_art};
        // Slow reads still notice a raised flag soon, as the host's do.
        for (int waited = 0; waited < _art.delayMs; waited += 5) {
            abort.check();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        abort.check();
        const QByteArray bytes = _art.bytesFor(_location);
        if (what != album_art_ids::cover_front || bytes.isEmpty()) throw exception_album_art_not_found();
        return album_art_data::make(bytes.constData(), size_t(bytes.size()));
    }

private:
    FakeAlbumArt& _art;
    const std::string _location;
};

}  // namespace

service_ptr_t<album_art_extractor_instance_v2> FakeAlbumArt::open(const metadb_handle_list& items,
                                                                  const std::vector<GUID>&,
                                                                  abort_callback& abort) {
    abort.check();
    return service_new<FakeExtractor>(*this, items.empty() ? std::string() : items[0]->get_path());
}

void FakeAlbumArt::set(const std::string& location, QByteArray bytes) {
    std::lock_guard lock(_mutex);
    _covers[location] = std::move(bytes);
}

QByteArray FakeAlbumArt::bytesFor(const std::string& location) {
    std::lock_guard lock(_mutex);
    auto it = _covers.find(location);
    return it == _covers.end() ? QByteArray() : it->second;
}

OvixTestHost::OvixTestHost() {
    bound.host.add(album_art_manager_v2::class_guid, art);
    bound.host.add(mainmenu_manager::class_guid, menu);
}

service_ptr_t<MemoryTrack> albumTrack(const std::string& album, const std::string& title, double length,
                                      const std::string& artist) {
    return memoryTrack(album + "/" + title + ".flac",
                       {{"artist", artist}, {"album artist", artist}, {"album", album}, {"title", title}},
                       length, 20'000'000);
}
