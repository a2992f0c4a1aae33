#include "Stores.h"

#include "ConfigStore.h"
#include "PlayStatistics.h"

#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace storage_test {

namespace {

class Settings : public Store {
public:
    Settings(const fs::path& file, Console& console) : m_store(file, console) {}
    int64_t number() override { return m_store.getInt("number").value_or(-1); }
    void setNumber(int64_t n) override { m_store.setInt("number", n); }
    void fill(size_t bytes) override { m_store.setString("fill", std::string(bytes, 'x')); }

private:
    ConfigStore m_store;
};

class Statistics : public Store {
public:
    Statistics(const fs::path& file, Console& console) : m_stats(file, console) {}
    int64_t number() override {
        const uint32_t rating = m_stats.get(kKey).rating;
        return rating ? int64_t(rating) : -1;
    }
    // Ratings go up to 5.
    void setNumber(int64_t n) override { m_stats.setRating({kKey}, uint32_t(n)); }
    void fill(size_t bytes) override {
        std::vector<library::TrackKey> keys;
        for (size_t i = 0; i < bytes / 64; ++i)
            keys.push_back({"file:///music/fill/" + std::to_string(i) + ".flac", 0});
        m_stats.setRating(keys, 1);
    }

private:
    inline static const library::TrackKey kKey{"file:///music/a.flac", 0};
    library::PlayStatistics m_stats;
};

metadb_handle_list numbered(const std::string& prefix, size_t count) {
    metadb_handle_list items;
    for (size_t i = 0; i < count; ++i)
        items.push_back(service_new<PathTrack>("file:///music/" + prefix + std::to_string(i) + ".flac"));
    return items;
}

// The number is how many items the first playlist holds.
class Playlists : public Store {
public:
    Playlists(const fs::path& file, Console& console) : m_manager(openPlaylists(file, console)) {}
    ~Playlists() override { m_manager->close(); }
    int64_t number() override {
        return m_manager->get_playlist_count() ? int64_t(m_manager->playlist_get_item_count(0)) : -1;
    }
    void setNumber(int64_t n) override {
        if (m_manager->get_playlist_count() == 0) m_manager->create_playlist("Kept", SIZE_MAX, SIZE_MAX);
        m_manager->playlist_remove_items(0, bit_array_true());
        m_manager->playlist_add_items(0, numbered("", size_t(n)), bit_array_false());
        m_manager->flush();
    }
    void fill(size_t bytes) override {
        const size_t at = m_manager->create_playlist("Fill", SIZE_MAX, SIZE_MAX);
        m_manager->playlist_add_items(at, numbered("fill/", bytes / 48), bit_array_false());
        m_manager->flush();
    }

private:
    service_ptr_t<playlists::PlaylistManager> m_manager;
};

template <class T>
std::unique_ptr<Store> make(const fs::path& file, Console& console) {
    return std::make_unique<T>(file, console);
}

}  // namespace

const std::vector<StoreKind>& storeKinds() {
    static const std::vector<StoreKind> kinds{
        {"settings", "settings.sqlite", make<Settings>},
        {"playlists", "playlists.sqlite", make<Playlists>},
        {"statistics", "library.sqlite", make<Statistics>},
    };
    return kinds;
}

const StoreKind& storeKind(const std::string& name) {
    for (const StoreKind& kind : storeKinds())
        if (kind.name == name) return kind;
    throw std::invalid_argument("no store " + name);
}

service_ptr_t<playlists::PlaylistManager> openPlaylists(const fs::path& file, Console& console) {
    auto m = service_new<playlists::PlaylistManager>();
    m->open(
        file,
        [](const playable_location& at) {
            return service_ptr_t<metadb_handle>(service_new<PathTrack>(at.path));
        },
        [&console](const std::string& line) { console.print(line); });
    return m;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string integrity(const fs::path& file) {
    sqlite3* db = nullptr;
    std::string out = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        else
            out = sqlite3_errmsg(db);
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return out;
}

std::vector<std::string> filesNamed(const fs::path& folder, const std::string& part) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().find(part) != std::string::npos) out.push_back(e.path().filename());
    return out;
}

}  // namespace storage_test
