// Patterns as a user types them or a column holds them: compiled, then formatted
// for a fully tagged track, once playing and once from a list.

#include "FuzzTarget.h"

#include "../titleformat/TestTrack.h"

#include <string_view>

using namespace titleformat;

QOV_FUZZ_TARGET(titleformat) {
    static const TrackInfo track = [] {
        TrackInfo t = test::sampleTrack();
        t.addTag("Artist", "Ann");  // a field of two values
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
