// Patterns as a user types them or a column holds them: compiled, then formatted
// for a fully tagged track, once playing and once from a list.

#include "FuzzTarget.h"

#include "Script.h"
#include "TrackFields.h"

#include <string_view>

using namespace titleformat;

QOV_FUZZ_TARGET(titleformat) {
    static const TrackInfo track = [] {
        TrackInfo t;
        t.path = "/home/ann/Music/Low Roar/0/03 Easy Way Out.flac";
        t.length = 245.4;
        t.fileSize = 31'450'000;
        t.addTag("Artist", "Low Roar");
        t.addTag("Artist", "Ann");
        t.addTag("Title", "Easy Way Out");
        t.addTag("Album", "0");
        t.addTag("Date", "2014-11-04");
        t.addTag("TrackNumber", "3");
        t.addTag("DiscNumber", "1/2");
        t.codec = "FLAC";
        t.bitrate = 1024;
        t.sampleRate = 44100;
        t.channels = 2;
        t.playCount = 4;
        return t;
    }();
    const Script script = Script::compile(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string out;
    script.format(TrackFields(track), out);
    const PlaybackState playing{61.5, false};
    const ListPosition list{2, 12};
    script.format(TrackFields(track, &playing, &list), out);
    return 0;
}
