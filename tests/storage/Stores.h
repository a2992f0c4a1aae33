#pragma once

// The profile's three stores, each reduced to one number it keeps, so that
// one test can put all three through the same trouble.

#include "ChildProcess.h"
#include "Console.h"
#include "PlaylistManager.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace storage_test {

class Store {
public:
    virtual ~Store() = default;
    // -1 when the store holds none.
    virtual int64_t number() = 0;
    virtual void setNumber(int64_t n) = 0;
    // Adds about `bytes` of other data, leaving the number as it is.
    virtual void fill(size_t bytes) = 0;
};

struct StoreKind {
    const char* name;
    const char* file;
    std::function<std::unique_ptr<Store>(const std::filesystem::path& file, Console& console)> open;
};

// Settings, playlists (through the playlist manager), play statistics.
const std::vector<StoreKind>& storeKinds();
const StoreKind& storeKind(const std::string& name);

// A track that is only its path.
class PathTrack : public metadb_handle {
public:
    explicit PathTrack(std::string path) : m_path(std::move(path)) {}
    const char* get_path() const override { return m_path.c_str(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return 1.0; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base& out, const service_ptr_t<titleformat_object>&,
                      titleformat_text_filter*) const override {
        out.reset();
        return false;
    }

private:
    std::string m_path;
};

// The host's playlist manager on `file`, printing to `console`.
service_ptr_t<playlists::PlaylistManager> openPlaylists(const std::filesystem::path& file, Console& console);

std::string readFile(const std::filesystem::path& file);
// SQLite's integrity check of `file` ("ok" when sound).
std::string integrity(const std::filesystem::path& file);
// Files in `folder` whose names contain `part`.
std::vector<std::string> filesNamed(const std::filesystem::path& folder, const std::string& part);

}  // namespace storage_test
