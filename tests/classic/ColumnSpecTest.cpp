#include "ColumnSpec.h"
#include "Printers.h"

#include <gtest/gtest.h>

namespace {

QString lines(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* l : list) out.append(QString::fromUtf8(l));
    return out.join(u'\n');
}

// Each column as "identifier|title|pattern|align|width".
QStringList shown(const ColumnSpec& parsed) {
    QStringList out;
    for (const SpecColumn& c : parsed.columns)
        out.append(QStringList{c.identifier, c.title, c.pattern, c.right ? "right" : "left",
                               QString::number(c.width)}
                       .join(u'|'));
    return out;
}

QString saved(const ColumnSpec& parsed) {
    std::vector<std::pair<QString, double>> columns;
    for (const SpecColumn& c : parsed.columns) columns.emplace_back(c.identifier, c.width);
    return writeColumnSpec(columns, parsed.kept);
}

TEST(ColumnSpec, TheDefaultTextShowsSixCatalogueColumnsInItsOrder) {
    const ColumnSpec parsed = parseColumnSpec(QString::fromUtf8(kDefaultColumnSpec));
    EXPECT_EQ(shown(parsed),
              (QStringList{
                  "playing|Playing||left|60",
                  "artistalbum|Artist/album|$if2(%album artist%,?) \u2013 $if2(%album%,?)|left|250",
                  "titleartist|Title / track artist|%title%[ // %track artist%]|left|400",
                  "duration|Duration|[%length%]|right|60",
                  "playcount|Play Count|[%play_count%]|right|70",
                  "path|File path|%path%|left|450",
              }));
    EXPECT_TRUE(parsed.kept.isEmpty());
    EXPECT_EQ(saved(parsed), QString::fromUtf8(kDefaultColumnSpec));
}

TEST(ColumnSpec, MalformedAndUnknownLinesAreSkippedButUnknownOnesSurviveASave) {
    const ColumnSpec parsed = parseColumnSpec(lines({"playing\t60", "bogus\t10", "artist"}));
    EXPECT_EQ(shown(parsed), QStringList{"playing|Playing||left|60"});
    // A later version's column comes back; a line with one field was never a column.
    EXPECT_EQ(saved(parsed), lines({"playing\t60", "bogus\t10"}));

    const ColumnSpec broken =
        parseColumnSpec(lines({"", "custom\t80", "custom\t80\tTitle", "\t", "date\t70\tnew"}));
    EXPECT_EQ(shown(broken), QStringList{"date|Date|[%date%]|right|70"});
    EXPECT_EQ(broken.kept, (QStringList{"custom\t80", "custom\t80\tTitle", "\t"}));
}

TEST(ColumnSpec, CustomColumnsAreNumberedPerLoadAndWrittenBackAsTheyCame) {
    const QString text =
        lines({"custom\t120\tGenre\t%genre%", "title\t250", "custom\t90\tMood\t[%mood%]\tlater"});
    const ColumnSpec parsed = parseColumnSpec(text);
    EXPECT_EQ(shown(parsed),
              (QStringList{"custom0\tGenre\t%genre%|Genre|%genre%|left|120", "title|Title|%title%|left|250",
                           "custom1\tMood\t[%mood%]|Mood|[%mood%]|left|90"}));
    EXPECT_TRUE(isCustomIdentifier(parsed.columns[2].identifier));
    EXPECT_EQ(customParts(parsed.columns[2].identifier),
              std::make_pair(QString("Mood"), QString("[%mood%]")));
    EXPECT_EQ(saved(parsed),
              lines({"custom\t120\tGenre\t%genre%", "title\t250", "custom\t90\tMood\t[%mood%]"}));
}

TEST(ColumnSpec, WidthsReadAsNumbersFromTheirStartWithinLimitsAndSaveTruncated) {
    const ColumnSpec parsed = parseColumnSpec(
        lines({"title\t251.7", "artist\tabc", "album\t-5", "date\t99999999999999", "codec\t 75px"}));
    QList<int> widths;
    for (const SpecColumn& c : parsed.columns) widths.append(c.width);
    EXPECT_EQ(widths, (QList<int>{251, kMinColumnWidth, kMinColumnWidth, kMaxColumnWidth, 75}));
    EXPECT_EQ(writeColumnSpec({{"title", 251.7}, {"custom0\tGenre\t%genre%", 150.99}}, {}),
              lines({"title\t251", "custom\t150\tGenre\t%genre%"}));
}

TEST(ColumnSpec, AHugeTextShowsAtMostTheLimitAndKeepsTheRest) {
    QStringList many;
    for (int i = 0; i < 5000; ++i) many.append(QStringLiteral("artist\t%1").arg(100 + i % 7));
    const ColumnSpec parsed = parseColumnSpec(many.join(u'\n'));
    EXPECT_EQ(parsed.columns.size(), size_t(kMaxColumns));
    EXPECT_EQ(parsed.kept.size(), 5000 - kMaxColumns);
    EXPECT_EQ(saved(parsed), many.join(u'\n'));
}

TEST(ColumnSpec, AddingACustomColumnNeedsANameAndAPatternOnOneLine) {
    EXPECT_EQ(withCustomColumn("title\t250", "My\tGenre", "%genre%\n[%mood%]"),
              lines({"title\t250", "custom\t150\tMy Genre\t%genre% [%mood%]"}));
    EXPECT_EQ(withCustomColumn("title\t250", "", "%genre%"), std::nullopt);
    EXPECT_EQ(withCustomColumn("title\t250", "Genre", ""), std::nullopt);
    // From nothing: the empty first line is no column.
    const auto fromEmpty = withCustomColumn("", "Genre", "%genre%");
    ASSERT_TRUE(fromEmpty.has_value());
    EXPECT_EQ(shown(parseColumnSpec(*fromEmpty)),
              QStringList{"custom0\tGenre\t%genre%|Genre|%genre%|left|150"});
}

}  // namespace
