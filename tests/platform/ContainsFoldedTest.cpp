#include "ContainsFolded.h"

#include "Printers.h"

#include <gtest/gtest.h>

using platform::containsFolded;
using platform::containsFoldedIn;
using platform::foldForSearch;

TEST(ContainsFolded, IgnoresCaseAndAccentsOnEitherSide) {
    EXPECT_TRUE(containsFolded("Beyoncé", "beyonce"));
    EXPECT_TRUE(containsFolded("Beyonce", "BEYONCÉ"));
    EXPECT_TRUE(containsFolded("Résumé of the year", "resume"));
    EXPECT_TRUE(containsFolded("Mötley Crüe", "motley crue"));
    EXPECT_TRUE(containsFolded("ÆON", "æon"));
    EXPECT_TRUE(containsFolded("Ångström", "ANGSTROM"));
    EXPECT_FALSE(containsFolded("Beyoncé", "beyonces"));
}

TEST(ContainsFolded, PrecomposedAndDecomposedTextsMatch) {
    const QString decomposed = QStringLiteral("Cafe\u0301 del Mar");
    EXPECT_TRUE(containsFolded(decomposed, "café"));
    EXPECT_TRUE(containsFolded("Café del Mar", decomposed.left(5)));
}

TEST(ContainsFolded, EmptyNeedleIsAlwaysContained) {
    EXPECT_TRUE(containsFolded("", ""));
    EXPECT_TRUE(containsFolded("anything", ""));
    EXPECT_FALSE(containsFolded("", "a"));
}

TEST(ContainsFolded, LettersOfTheirOwnAreNotBaseLetters) {
    EXPECT_FALSE(containsFolded("Ærø", "aero"));
    EXPECT_FALSE(containsFolded("Øresund", "oresund"));
    EXPECT_TRUE(containsFolded("Øresund", "øresund"));
}

TEST(ContainsFolded, HangulSyllablesMatchWholeNotByPieces) {
    // 한 decomposes into the pieces of 하 plus a final consonant.
    EXPECT_TRUE(containsFolded("하나", "하"));
    EXPECT_FALSE(containsFolded("하나", "한"));
    EXPECT_FALSE(containsFolded("한", "하"));
}

TEST(ContainsFolded, KanaVoicingMarksAreDiacritics) {
    EXPECT_TRUE(containsFolded("ガイド", "カイト"));
}

TEST(ContainsFolded, PreFoldedHaystackGivesTheSameAnswers) {
    const QString folded = foldForSearch("Sigur Rós – Hoppípolla");
    EXPECT_TRUE(containsFoldedIn(folded, "HOPPIPOLLA"));
    EXPECT_TRUE(containsFoldedIn(folded, "rós"));
    EXPECT_FALSE(containsFoldedIn(folded, "hoppipola"));
}
