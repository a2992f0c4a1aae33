#include "SupportedFormats.h"

#include <gtest/gtest.h>

using media::supportedExtension;

TEST(SupportedFormats, MatchesTheLastExtensionOfTheFileNameInAnyCase) {
    for (const char* path : {"a.flac", "/m/b.MP3", "c.Ogg", "d.opus", "x/e.wav", "f.m4a", "g.wv", "h.ape",
                             "i.aiff", "k.mpc", "l.wma", "dots.in.name.flac", "/music/.hidden.flac"}) {
        EXPECT_TRUE(supportedExtension(path)) << path;
    }
    for (const char* path : {"", "flac", ".flac", "a.flac.txt", "cover.jpg", "album.flac/notes", "a."}) {
        EXPECT_FALSE(supportedExtension(path)) << path;
    }
    // The lookup is a binary search over the list.
    const auto& all = media::supportedExtensions();
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    for (const auto& ext : all) EXPECT_TRUE(supportedExtension("x." + ext)) << ext;
}
