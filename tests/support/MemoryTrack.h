#pragma once

// A track that lives in memory only: what the host knows of it is given, not
// read from a file, and it formats through the host's own title-formatting
// engine as the host's track handles do. For tests and benchmarks that need
// many tagged tracks and no disk.

#include "metadb_handle.h"
#include "TrackFields.h"

#include <string>
#include <utility>
#include <vector>

class MemoryTrack : public metadb_handle {
public:
    // A path without a scheme is a local file.
    explicit MemoryTrack(titleformat::TrackInfo info)
        : _info(std::move(info)),
          _location(_info.path.find("://") == std::string::npos ? "file://" + _info.path : _info.path) {}

    const titleformat::TrackInfo& info() const { return _info; }

    const char* get_path() const override { return _location.c_str(); }
    uint32_t get_subsong_index() const override { return _info.subsong; }
    double get_length() const override { return _info.length; }
    t_filesize get_filesize() const override {
        return _info.fileSize >= 0 ? t_filesize(_info.fileSize) : filesize_invalid;
    }
    bool format_title(titleformat_hook* hook, cvk::string_base& out,
                      const service_ptr_t<titleformat_object>& script,
                      titleformat_text_filter* filter) const override;

private:
    const titleformat::TrackInfo _info;
    const std::string _location;
};

// Tags as name and value, e.g. {{"artist", "A"}, {"title", "T"}}.
using Tags = std::vector<std::pair<std::string, std::string>>;

// A FLAC-like track at /music/PATH: length in seconds (0 unknown), size in
// bytes (negative unknown).
service_ptr_t<MemoryTrack> memoryTrack(const std::string& path, const Tags& tags, double length = 0,
                                       int64_t size = -1);
