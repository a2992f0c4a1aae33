// Formats a 100,000-track playlist with the Classic playlist's default column
// patterns, and times beside it a plain loop that reads the same fields of the
// same tracks through the same source into strings, without the language. The
// last line is "ratio X": formatting time over plain time, medians of both.
//
// usage: titleformat_bench [tracks] [repetitions]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Script.h"
#include "TrackFields.h"

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

std::vector<TrackInfo> makePlaylist(std::size_t count) {
    std::mt19937 rng(42);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    static const char* const kWords[] = {"Blue",   "Night",  "River",  "Glass",  "Echo",
                                         "Paper",  "Winter", "Gold",   "Static", "Harbour",
                                         "Velvet", "North",  "Signal", "Hollow", "Ember"};
    auto words = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            if (i) s += ' ';
            s += kWords[pick(std::size(kWords))];
        }
        return s;
    };

    std::vector<TrackInfo> tracks;
    tracks.reserve(count);
    while (tracks.size() < count) {
        const bool compilation = pick(10) == 0;
        const bool noAlbumArtist = pick(4) == 0;
        const std::string albumArtist = compilation ? "Various Artists" : words(2);
        const std::string album = words(1 + pick(3));
        const std::string year = std::to_string(1965 + pick(60));
        const int trackCount = 8 + pick(8);
        for (int n = 1; n <= trackCount && tracks.size() < count; ++n) {
            TrackInfo t;
            const std::string artist = compilation ? words(2) : albumArtist;
            const std::string title = words(1 + pick(4));
            t.addTag("artist", artist);
            if (!noAlbumArtist || compilation) t.addTag("album artist", albumArtist);
            t.addTag("title", title);
            t.addTag("album", album);
            t.addTag("date", year);
            t.addTag("genre", "Rock");
            t.addTag("tracknumber", std::to_string(n));
            t.path = "/home/listener/Music/" + albumArtist + "/" + year + " - " + album + "/" +
                     (n < 10 ? "0" : "") + std::to_string(n) + " " + title + ".flac";
            t.length = 90 + pick(400) + pick(1000) / 1000.0;
            t.fileSize = 3'000'000 + pick(60'000'000);
            t.codec = "FLAC";
            t.bitrate = 700 + static_cast<uint32_t>(pick(600));
            t.sampleRate = 44100;
            t.channels = 2;
            t.playCount = static_cast<uint32_t>(pick(40));
            tracks.push_back(std::move(t));
        }
    }
    return tracks;
}

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t trackCount = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100'000;
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 9;
    if (trackCount == 0 || repetitions <= 0) {
        std::fprintf(stderr, "usage: %s [tracks] [repetitions]\n", argv[0]);
        return 2;
    }

    const std::vector<TrackInfo> tracks = makePlaylist(trackCount);
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
    auto timeMs = [](auto&& pass) {
        auto start = Clock::now();
        pass();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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
