#pragma once

// Album art of tracks: embedded pictures and image files beside them.
//
// Threads: any; one extractor is used by one thread at a time. Meant for
// worker threads, since reading art touches the disk.
// Ownership: counted; the data object owns its bytes.
// Failure: query throws exception_album_art_not_found when the tracks have no
// such picture, exception_io when reading fails and exception_aborted when the
// abort flag is raised.

#include "abort_callback.h"
#include "exceptions.h"
#include "guid.h"
#include "metadb_handle.h"
#include "sdk_export.h"
#include "service.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Which picture of a track.
namespace album_art_ids {
inline constexpr GUID cover_front{
    0x22EA4AD3, 0xD3DF, 0x4896, {0xB1, 0xB2, 0xE1, 0x44, 0x05, 0xCE, 0x54, 0x17}};
inline constexpr GUID cover_back{
    0x28308257, 0xE47C, 0x4CB3, {0xBC, 0xA8, 0xE6, 0x9D, 0x9A, 0x2D, 0xD7, 0xB6}};
inline constexpr GUID disc{0x79AD0C17, 0xEEFC, 0x41E5, {0x8C, 0x96, 0x0F, 0xBB, 0x4B, 0xC3, 0x51, 0x27}};
inline constexpr GUID artist{0x8FD24D37, 0xDA65, 0x4F51, {0x95, 0x03, 0x38, 0xC0, 0xD1, 0x63, 0xA9, 0x38}};
}  // namespace album_art_ids

class QOV_SDK_API exception_album_art_not_found : public exception_io {
public:
    exception_album_art_not_found();
    ~exception_album_art_not_found() override;
};

// The encoded image (JPEG, PNG, ...), as stored.
class album_art_data : public service_base {
    QVN_SERVICE_INTERFACE(album_art_data, service_base,
                          {0xC36603EF, 0xA0EA, 0x4629, {0x93, 0x50, 0x3B, 0x6C, 0x2D, 0x37, 0xF7, 0x01}});

    virtual const void* get_ptr() const = 0;
    virtual size_t get_size() const = 0;

    // A copy of `size` bytes.
    static service_ptr_t<album_art_data> make(const void* data, size_t size);

private:
    class impl;
};

class album_art_data::impl : public album_art_data {
public:
    impl(const void* data, size_t size)
        : m_bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + (data ? size : 0)) {}
    const void* get_ptr() const override { return m_bytes.data(); }
    size_t get_size() const override { return m_bytes.size(); }

private:
    const std::vector<uint8_t> m_bytes;
};

inline service_ptr_t<album_art_data> album_art_data::make(const void* data, size_t size) {
    return service_new<impl>(data, size);
}

class album_art_extractor_instance_v2 : public service_base {
    QVN_SERVICE_INTERFACE(album_art_extractor_instance_v2, service_base,
                          {0xEC241AD3, 0x5F2D, 0x41D8, {0xBB, 0xE6, 0x0B, 0xCE, 0x21, 0x21, 0x57, 0x4A}});

    // The picture `what` of the first of the opened tracks that has one;
    // never null.
    virtual service_ptr_t<album_art_data> query(const GUID& what, abort_callback& abort) = 0;
};

class album_art_manager_v2 : public service_base {
    QVN_SERVICE_INTERFACE(album_art_manager_v2, service_base,
                          {0xD52FB209, 0x8D51, 0x42CD, {0xA6, 0x7E, 0xC3, 0x19, 0x0F, 0xE5, 0x4F, 0x41}});

    // An extractor for the pictures `ids` of `items`; opening reads nothing
    // yet, so it throws only exception_aborted.
    virtual service_ptr_t<album_art_extractor_instance_v2> open(const metadb_handle_list& items,
                                                                const std::vector<GUID>& ids,
                                                                abort_callback& abort) = 0;
};
