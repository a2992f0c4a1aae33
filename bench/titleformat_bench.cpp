// Formats a 100,000-track playlist with the Classic playlist's default column
// patterns, and times beside it a plain loop that reads the same fields of the
// same tracks through the same source into strings, without the language. The
// last line is "ratio X": formatting time over plain time, medians of both.
//
// usage: titleformat_bench [tracks] [repetitions]

#include "BenchRun.h"
#include "GeneratedTracks.h"
#include "Script.h"
#include "TrackFields.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace titleformat;

namespace {

// The Classic playlist's default columns that have a pattern (the "Playing"
// column shows state marks, not text).
const char* const kColumnPatterns[] = {
    "$if2(%album artist%,?) \xE2\x80\x93 $if2(%album%,?)",  // Artist/album
    "%title%[ // %track artist%]",                          // Title / track artist
    "[%length%]",                                           // Duration
    "[%play_count%]",                                       // Play Count
    "%path%",                                               // File path
};

// The same fields, column by column, for the plain loop.
const std::vector<std::vector<FieldId>> kColumnFields = {
    {FieldId::AlbumArtist, FieldId::Album},
    {FieldId::Title, FieldId::TrackArtist},
    {FieldId::Length},
    {FieldId::PlayCount},
    {FieldId::Path},
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<BenchRun> run = BenchRun::fromArgs(argc, argv, 9);
    if (!run) return 2;
    const std::size_t trackCount = run->tracks;
    const int repetitions = run->repetitions;

    const std::vector<TrackInfo> tracks = generatedPlaylist(trackCount);
    std::vector<Script> scripts;
    for (const char* p : kColumnPatterns) scripts.push_back(Script::compile(p));
    const std::size_t columns = scripts.size();
    std::vector<std::string> cells(columns);

    std::size_t sink = 0;  // keeps the work observable
    auto formatPass = [&] {
        for (const TrackInfo& track : tracks) {
            TrackFields source(track);
            for (std::size_t c = 0; c < columns; ++c) {
                scripts[c].format(source, cells[c]);
                sink += cells[c].size();
            }
        }
    };
    auto plainPass = [&] {
        for (const TrackInfo& track : tracks) {
            TrackFields source(track);
            for (std::size_t c = 0; c < columns; ++c) {
                std::string& cell = cells[c];
                cell.clear();
                for (FieldId id : kColumnFields[c]) source.field(id, cell);
                sink += cell.size();
            }
        }
    };
    formatPass();  // warm caches and the cell buffers
    plainPass();
    std::vector<double> formatTimes, plainTimes;
    for (int r = 0; r < repetitions; ++r) {
        formatTimes.push_back(timeMs(formatPass));
        plainTimes.push_back(timeMs(plainPass));
    }
    const double formatMs = median(formatTimes);
    const double plainMs = median(plainTimes);

    std::printf("tracks %zu, columns %zu, repetitions %d (checksum %zu)\n", trackCount, columns, repetitions,
                sink % 1000);
    std::printf("format median %.2f ms (%.0f ns per track)\n", formatMs, formatMs * 1e6 / trackCount);
    std::printf("plain  median %.2f ms (%.0f ns per track)\n", plainMs, plainMs * 1e6 / trackCount);
    std::printf("ratio %.2f\n", formatMs / plainMs);
    return 0;
}
