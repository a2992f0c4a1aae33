// album_art_manager_v2 over the host's cover reader: the embedded front cover,
// else an image beside the file. Only the front cover is known; any other
// picture is simply not found.

#include "TrackHandle.h"

#include "album_art.h"
#include "AlbumArtReader.h"
#include "service_factory.h"

#include <string_view>

namespace library {

namespace {

std::string localPath(const metadb_handle_ptr& track) {
    if (const TrackHandle* own = TrackHandle::from(track)) return own->nativePath();
    std::string_view location = track->get_path();
    return location.starts_with("file://") ? std::string(location.substr(7)) : std::string();
}

class Extractor : public album_art_extractor_instance_v2 {
public:
    Extractor(std::vector<std::string> paths, std::vector<GUID> ids)
        : m_paths(std::move(paths)), m_ids(std::move(ids)) {}

    service_ptr_t<album_art_data> query(const GUID& what, abort_callback& abort) override {
        abort.check();
        if (what != album_art_ids::cover_front || !wanted(what)) throw exception_album_art_not_found();
        for (const std::string& path : m_paths) {
            const std::vector<unsigned char> bytes = media::AlbumArtReader::frontCover(path);
            abort.check();
            if (!bytes.empty()) return album_art_data::make(bytes.data(), bytes.size());
        }
        throw exception_album_art_not_found();
    }

private:
    bool wanted(const GUID& what) const {
        for (const GUID& id : m_ids) {
            if (id == what) return true;
        }
        return false;
    }

    const std::vector<std::string> m_paths;
    const std::vector<GUID> m_ids;
};

class AlbumArtManager : public album_art_manager_v2 {
public:
    service_ptr_t<album_art_extractor_instance_v2> open(const metadb_handle_list& items,
                                                        const std::vector<GUID>& ids,
                                                        abort_callback& abort) override {
        abort.check();
        std::vector<std::string> paths;
        for (const auto& track : items) {
            if (!track) continue;
            std::string path = localPath(track);
            if (!path.empty()) paths.push_back(std::move(path));
        }
        return service_new<Extractor>(std::move(paths), ids);
    }
};

service_factory_singleton_t<AlbumArtManager> g_albumArtManagerFactory;

}  // namespace

}  // namespace library
