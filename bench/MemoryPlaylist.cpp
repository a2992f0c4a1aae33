#include "MemoryPlaylist.h"

#include "GeneratedTracks.h"
#include "MemoryTrack.h"

metadb_handle_list generatedHandles(std::size_t count) {
    metadb_handle_list tracks;
    for (auto& info : generatedPlaylist(count)) tracks.push_back(service_new<MemoryTrack>(std::move(info)));
    return tracks;
}

std::size_t formatPlainly(const metadb_handle_list& tracks,
                          std::initializer_list<service_ptr_t<titleformat_object>> patterns) {
    std::size_t length = 0;
    cvk::stringLite text;
    for (const auto& track : tracks) {
        for (const auto& pattern : patterns) {
            track->format_title(nullptr, text, pattern, nullptr);
            length += text.get_length();
        }
    }
    return length;
}
