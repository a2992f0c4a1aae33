#include "CompareNumeric.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>

using platform::compareNumeric;

namespace {

QStringList sortedNumeric(QStringList list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const QString& a, const QString& b) { return compareNumeric(a, b) < 0; });
    return list;
}

}  // namespace

TEST(CompareNumeric, NumbersCompareByValue) {
    EXPECT_LT(compareNumeric("Track 2", "Track 10"), 0);
    EXPECT_GT(compareNumeric("Track 10", "Track 9"), 0);
    EXPECT_LT(compareNumeric("1", "02"), 0);
    EXPECT_EQ(sortedNumeric({"10 Ten", "1 One", "2 Two", "100 Hundred", "9 Nine"}),
              QStringList({"1 One", "2 Two", "9 Nine", "10 Ten", "100 Hundred"}));
}

TEST(CompareNumeric, LetterCaseDoesNotLeadTheOrder) {
    EXPECT_EQ(sortedNumeric({"cherry", "Banana", "apple", "Apricot"}),
              QStringList({"apple", "Apricot", "Banana", "cherry"}));
    EXPECT_LT(compareNumeric("Rest", "Résumé"), 0);
    EXPECT_LT(compareNumeric("Résumé", "Rez"), 0);
}

TEST(CompareNumeric, OnlyTheSameTextComparesEqual) {
    EXPECT_EQ(compareNumeric("Abba", "Abba"), 0);
    EXPECT_EQ(compareNumeric("", ""), 0);
    // Alike but not the same: a fixed order, whichever way round they are asked.
    for (const auto& [a, b] :
         {std::pair<QString, QString>{"abba", "ABBA"}, {"Track 02", "Track 2"}}) {
        const int ab = compareNumeric(a, b);
        EXPECT_NE(ab, 0) << a.toStdString();
        EXPECT_EQ(ab<0, compareNumeric(b, a)> 0) << a.toStdString();
    }
    EXPECT_LT(compareNumeric("", "a"), 0);
}
