#pragma once

#include <string>
#include <string_view>

#include "Script.h"
#include "TrackFields.h"

namespace titleformat::test {

// A fully tagged track; tests remove or change what they need.
inline TrackInfo sampleTrack() {
    TrackInfo t;
    t.path = "/home/ann/Music/Low Roar/0/03 Easy Way Out.flac";
    t.length = 245.4;
    t.fileSize = 31'450'000;
    t.addTag("Artist", "Low Roar");
    t.addTag("Album Artist", "Low Roar");
    t.addTag("Title", "Easy Way Out");
    t.addTag("Album", "0");
    t.addTag("Date", "2014-11-04");
    t.addTag("Genre", "Ambient");
    t.addTag("TrackNumber", "3");
    t.addTag("DiscNumber", "1/2");
    t.codec = "FLAC";
    t.bitrate = 1024;
    t.sampleRate = 44100;
    t.channels = 2;
    t.bitsPerSample = 16;
    t.playCount = 4;
    return t;
}

inline void removeTag(TrackInfo& t, std::string_view lowerName) {
    std::erase_if(t.tags, [&](const Tag& tag) { return tag.name == lowerName; });
}

inline std::string run(std::string_view pattern, const TrackInfo& track,
                       const PlaybackState* playing = nullptr, const ListPosition* list = nullptr) {
    return Script::compile(pattern).format(TrackFields(track, playing, list));
}

}  // namespace titleformat::test
