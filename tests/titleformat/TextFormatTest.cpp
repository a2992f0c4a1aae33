#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "TextFormat.h"
#include "Utf8.h"

namespace titleformat {
namespace {

std::string byteCount(uint64_t bytes) {
    std::string out;
    appendByteCount(bytes, out);
    return out;
}

TEST(TextFormat, ByteCountsReadLikeTheMacFinder) {
    EXPECT_EQ(byteCount(0), "Zero KB");
    EXPECT_EQ(byteCount(1), "1 byte");
    EXPECT_EQ(byteCount(999), "999 bytes");
    EXPECT_EQ(byteCount(1000), "1 KB");
    EXPECT_EQ(byteCount(1499), "1 KB");
    EXPECT_EQ(byteCount(1500), "2 KB");
    EXPECT_EQ(byteCount(999'499), "999 KB");
    // Rounding up into the next unit moves to that unit.
    EXPECT_EQ(byteCount(999'999), "1 MB");
    EXPECT_EQ(byteCount(8'000'000), "8 MB");
    EXPECT_EQ(byteCount(4'200'000), "4.2 MB");
    EXPECT_EQ(byteCount(4'249'999), "4.2 MB");
    EXPECT_EQ(byteCount(999'950'000), "1 GB");
    EXPECT_EQ(byteCount(1'234'567'890), "1.23 GB");
    EXPECT_EQ(byteCount(1'050'000'000), "1.05 GB");
    EXPECT_EQ(byteCount(2'000'000'000'000), "2 TB");
    EXPECT_EQ(byteCount(std::numeric_limits<uint64_t>::max()), "18.45 EB");
}

TEST(TextFormat, Durations) {
    auto duration = [](int64_t s) {
        std::string out;
        appendDuration(s, out);
        return out;
    };
    EXPECT_EQ(duration(0), "0:00");
    EXPECT_EQ(duration(59), "0:59");
    EXPECT_EQ(duration(600), "10:00");
    EXPECT_EQ(duration(3599), "59:59");
    EXPECT_EQ(duration(3600), "1:00:00");
    EXPECT_EQ(duration(90061), "25:01:01");
    EXPECT_EQ(duration(-5), "0:00");
}

TEST(TextFormat, NumbersReadTheLeadingInteger) {
    EXPECT_EQ(toNumber("42"), 42);
    EXPECT_EQ(toNumber("  -17kbps"), -17);
    EXPECT_EQ(toNumber("+3"), 3);
    EXPECT_EQ(toNumber("4.9"), 4);
    EXPECT_EQ(toNumber("x1"), 0);
    EXPECT_EQ(toNumber(""), 0);
    EXPECT_EQ(toNumber("-"), 0);
    EXPECT_EQ(toNumber("123456789012345678901234"), std::numeric_limits<int64_t>::max());
}

TEST(TextFormat, Utf8CountsAndCutsWholeCharacters) {
    std::string s = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5z";  // a é € 🎵 z
    EXPECT_EQ(utf8Length(s), 5u);
    EXPECT_EQ(utf8Offset(s, 2), 3u);
    EXPECT_EQ(utf8Offset(s, 4), 10u);
    EXPECT_EQ(utf8Offset(s, 99), s.size());
    // Truncated and stray continuation bytes count one each and are never overrun.
    std::string broken = "\xE2\x82";
    EXPECT_EQ(utf8Length(broken), 2u);
    EXPECT_EQ(utf8Length("\x80\xC0\xAF"), 3u);
    EXPECT_EQ(utf8Length("\xED\xA0\x80"), 3u);  // an encoded surrogate is malformed
    std::string out;
    appendUtf8(0x1F3B5, out);
    EXPECT_EQ(out, "\xF0\x9F\x8E\xB5");
    EXPECT_EQ(toUpper(0xFF), 0x178u);
    EXPECT_EQ(toLower(0x178), 0xFFu);
    EXPECT_EQ(toUpper(0xDF), 0xDFu);  // ß has no single upper-case letter
    EXPECT_EQ(toLower(0x130), 0x130u);
}

}  // namespace
}  // namespace titleformat
