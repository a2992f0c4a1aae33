// The library search's matching: terms in any order, letter case and accents
// ignored, every term required, over texts folded once.

#include "LibraryMatcher.h"
#include "Printers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

LibraryMatcher library(std::initializer_list<const char*> texts) {
    LibraryMatcher m;
    for (const char* t : texts) m.add(t);
    return m;
}

TEST(LibraryMatcher, EveryTermInAnyOrderIgnoringCaseAndAccents) {
    const LibraryMatcher m = library({
        "Beyoncé Lemonade Formation 2016 formation.flac",
        "Café Tacvba Re Ingrata 1994 ingrata.mp3",
        "The Lanterns Harbour Lights Morning Light 1998 01.flac",
        "Ada Winter North Static 2011 static.ogg",
        "Ærosmith Øresund Straße 1980 x.flac",
    });
    using Found = std::vector<size_t>;
    EXPECT_EQ(m.match(QStringLiteral("beyonce")), Found({0}));
    EXPECT_EQ(m.match(QStringLiteral("BEYONCÉ formation")), Found({0}));
    EXPECT_EQ(m.match(QStringLiteral("formation beyonce")), Found({0}));
    EXPECT_EQ(m.match(QStringLiteral("cafe")), Found({1}));
    EXPECT_EQ(m.match(QStringLiteral("light harbour")), Found({2}));
    EXPECT_EQ(m.match(QStringLiteral("light winter")), Found({}));
    EXPECT_EQ(m.match(QStringLiteral("flac")), Found({0, 2, 4}));
    EXPECT_EQ(m.match(QStringLiteral("  \t north\n  ")), Found({3}));
    // Letters that are no base letter with a mark stay themselves.
    EXPECT_EQ(m.match(QStringLiteral("ærosmith")), Found({4}));
    EXPECT_EQ(m.match(QStringLiteral("aerosmith")), Found({}));
    EXPECT_EQ(m.match(QStringLiteral("oresund")), Found({}));
    EXPECT_EQ(m.match(QStringLiteral("øresund straße")), Found({4}));
    // A term spans no track boundary.
    EXPECT_EQ(m.match(QStringLiteral("flaccafe")), Found({}));
}

TEST(LibraryMatcher, AQueryWithoutTermsShowsNothing) {
    const LibraryMatcher m = library({"a", "b"});
    EXPECT_TRUE(m.match(QString()).empty());
    EXPECT_TRUE(m.match(QStringLiteral("   ")).empty());
    EXPECT_EQ(LibraryMatcher::terms(QStringLiteral(" a  bc\td ")), (QStringList{"a", "bc", "d"}));
    EXPECT_TRUE(LibraryMatcher::terms(QStringLiteral("\u00A0 \t")).isEmpty());
    // A term that folds to nothing asks for nothing.
    EXPECT_EQ(m.match(QStringLiteral("\u0301")), (std::vector<size_t>{0, 1}));
}

TEST(LibraryMatcher, TextThatIsNoUtf8MatchesNothingAndKeepsItsPlace) {
    LibraryMatcher m;
    m.add("good");
    m.add(std::string("bad \xC3\x28 good"));
    m.add("");
    m.add("Good Ünïcode");
    EXPECT_EQ(m.size(), 4u);
    EXPECT_EQ(m.match(QStringLiteral("good")), (std::vector<size_t>{0, 3}));
    EXPECT_EQ(m.match(QStringLiteral("unicode")), (std::vector<size_t>{3}));
}

TEST(LibraryMatcher, FoldingPlainTextIsLowerCaseAsForAnyText) {
    // The fast path for ASCII agrees with the general one.
    for (const char* text : {"ABC def", "Mixed CASE 123 !?", "tab\there"}) {
        LibraryMatcher fast;
        fast.add(text);
        EXPECT_EQ(fast.match(QString::fromLatin1(text).toUpper()).size(), 1u) << text;
        EXPECT_EQ(LibraryMatcher::fold(QString::fromLatin1(text)),
                  QString::fromLatin1(text).toLower().toStdString());
    }
}

}  // namespace
