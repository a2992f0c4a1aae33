#include "GeneratedTracks.h"

#include <random>
#include <string>

using titleformat::TrackInfo;

std::vector<TrackInfo> generatedPlaylist(std::size_t count) {
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
