// Types queries into the library search's matching over a 100,000-track
// generated library, one keystroke at a time, and times beside it a plain
// case-sensitive byte search (memmem) of each typed term over the same
// tracks' texts unfolded. The last line is "ratio X": the matching's time
// per keystroke over the plain search's, medians of both.
//
// usage: library_search_bench [tracks] [repetitions]

#include "BenchRun.h"
#include "GeneratedTracks.h"
#include "LibraryMatcher.h"
#include "Script.h"
#include "TrackFields.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace titleformat;

namespace {

// What users type, in any case and with accents the library may lack.
const char* const kQueries[] = {
    "night",   "Velvet river", "ECHO gold 19",     "signal hollow ember",
    "Harbour", "Blüe wínter",  "glass paper 2001", "xyzzy",
};

std::vector<std::string> words(const std::string& query) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < query.size()) {
        const size_t space = query.find(' ', at);
        const size_t end = space == std::string::npos ? query.size() : space;
        if (end > at) out.push_back(query.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<BenchRun> run = BenchRun::fromArgs(argc, argv, 9);
    if (!run) return 2;
    const std::size_t trackCount = run->tracks;
    const int repetitions = run->repetitions;

    // The search window's text per track, formatted once as on opening it.
    const Script haystack =
        Script::compile("%artist% %album artist% %title% %album% %genre% %date% %filename%");
    std::vector<std::string> texts;
    texts.reserve(trackCount);
    for (const TrackInfo& track : generatedPlaylist(trackCount))
        texts.push_back(haystack.format(TrackFields(track)));
    LibraryMatcher matcher;
    const double foldMs = timeMs([&] {
        for (const std::string& t : texts) matcher.add(t);
    });

    // Every prefix of every query is one keystroke.
    std::vector<std::string> keystrokes;
    for (const char* q : kQueries)
        for (size_t n = 1; n <= std::strlen(q); ++n) keystrokes.emplace_back(q, n);

    std::size_t sink = 0;
    auto matching = [&] {
        for (const std::string& typed : keystrokes)
            sink += matcher.match(QString::fromStdString(typed)).size();
    };
    auto plain = [&] {
        for (const std::string& typed : keystrokes) {
            const std::vector<std::string> terms = words(typed);
            if (terms.empty()) continue;
            std::vector<size_t> found;
            for (size_t i = 0; i < texts.size(); ++i) {
                const std::string& text = texts[i];
                const bool all = std::all_of(terms.begin(), terms.end(), [&](const std::string& term) {
                    return memmem(text.data(), text.size(), term.data(), term.size()) != nullptr;
                });
                if (all) found.push_back(i);
            }
            sink += found.size();
        }
    };

    std::vector<double> matchTimes, plainTimes;
    for (int r = 0; r < repetitions; ++r) {
        matchTimes.push_back(timeMs(matching) / keystrokes.size());
        plainTimes.push_back(timeMs(plain) / keystrokes.size());
    }
    const double m = median(matchTimes), p = median(plainTimes);
    std::printf("tracks %zu, keystrokes %zu, repetitions %d (sink %zu)\n", texts.size(), keystrokes.size(),
                repetitions, sink);
    std::printf("folding every track once: %.1f ms\n", foldMs);
    std::printf("matching per keystroke: %.3f ms\n", m);
    std::printf("memmem per keystroke:   %.3f ms\n", p);
    std::printf("ratio %.2f\n", m / p);
    return 0;
}
