#include "LayoutSource.h"
#include "LayoutText.h"
#include "QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(LayoutText, ReadsElementsWithOptionsSkippingCommentsAndBlankLines) {
    const LayoutText layout =
        LayoutText::parse(QStringLiteral("# a comment\n"
                                         "\n"
                                         "classic-toolbar\n"
                                         "   waveform-seekbar   time=sides   # trailing comment\n"
                                         "fixture-box color=#FF0000 empty=\r\n"));
    EXPECT_TRUE(layout.errors.isEmpty());
    ASSERT_EQ(layout.elements.size(), 3);
    EXPECT_EQ(layout.elements[0].name, QStringLiteral("classic-toolbar"));
    EXPECT_EQ(layout.elements[0].line, 3);
    EXPECT_TRUE(layout.elements[0].options.isEmpty());
    EXPECT_EQ(layout.elements[1].line, 4);
    EXPECT_EQ(layout.elements[1].optionMap(),
              (QVariantMap{{QStringLiteral("time"), QStringLiteral("sides")}}));
    // A `#` inside a word is part of it; an empty value is a value.
    const QVariantMap third = layout.elements[2].optionMap();
    EXPECT_EQ(third.value(QStringLiteral("color")).toString(), QStringLiteral("#FF0000"));
    EXPECT_EQ(third.value(QStringLiteral("empty")).typeId(), QMetaType::QString);
    EXPECT_EQ(third.value(QStringLiteral("empty")).toString(), QString());
}

TEST(LayoutText, QuotesHoldBlanksEqualsSignsAndEscapes) {
    const LayoutText layout = LayoutText::parse(QStringLiteral(
        "\"Waveform Seekbar\" title=\"Now # playing = \\\"this\\\" \\\\ that\" key\"with space\"=x\n"));
    ASSERT_TRUE(layout.errors.isEmpty()) << layout.errors.first().text().toStdString();
    ASSERT_EQ(layout.elements.size(), 1);
    EXPECT_EQ(layout.elements[0].name, QStringLiteral("Waveform Seekbar"));
    const QVariantMap o = layout.elements[0].optionMap();
    EXPECT_EQ(o.value(QStringLiteral("title")).toString(),
              QStringLiteral("Now # playing = \"this\" \\ that"));
    EXPECT_EQ(o.value(QStringLiteral("keywith space")).toString(), QStringLiteral("x"));
    // A quoted `=` does not split a word into key and value.
    const LayoutText quotedEquals = LayoutText::parse(QStringLiteral("box \"a=b\""));
    ASSERT_EQ(quotedEquals.errors.size(), 1);
    EXPECT_EQ(quotedEquals.errors[0].line, 1);
}

TEST(LayoutText, ReportsEachMalformedLineByNumberAndKeepsTheRest) {
    const LayoutText layout =
        LayoutText::parse(QStringLiteral("good-one\n"
                                         "time=sides\n"        // 2: an option where the name belongs
                                         "box loose-word\n"    // 3: not key=value
                                         "box =value\n"        // 4: no key
                                         "box a=1 a=2\n"       // 5: duplicate
                                         "box title=\"open\n"  // 6: unterminated quote
                                         "\"\"\n"              // 7: empty name
                                         "good-two x=1\n"));
    ASSERT_EQ(layout.elements.size(), 2);
    EXPECT_EQ(layout.elements[0].name, QStringLiteral("good-one"));
    EXPECT_EQ(layout.elements[1].name, QStringLiteral("good-two"));
    EXPECT_EQ(layout.elements[1].line, 8);
    QList<int> lines;
    for (const LayoutError& e : layout.errors) lines.append(e.line);
    EXPECT_EQ(lines, (QList<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(layout.errors[3].text().startsWith(QStringLiteral("line 5: ")));
    EXPECT_TRUE(layout.errors[3].message.contains(QStringLiteral("\"a\"")));
    EXPECT_TRUE(layout.errors[4].message.contains(QStringLiteral("quote")));
}

TEST(LayoutSource, BuiltinLayoutsReadCleanlyInTheirOrder) {
    auto names = [](const QString& layout) {
        const LayoutText parsed = LayoutText::parse(LayoutSource::resolve(layout).text);
        EXPECT_TRUE(parsed.errors.isEmpty());
        QStringList out;
        for (const auto& e : parsed.elements) out.append(e.name);
        return out;
    };
    EXPECT_EQ(names(QStringLiteral("classic")),
              (QStringList{"classic-toolbar", "classic-tabs", "classic-playlist", "waveform-seekbar",
                           "classic-statusbar"}));
    EXPECT_EQ(names(QStringLiteral("ovix")),
              (QStringList{"ovix-header", "waveform-seekbar", "ovix-tabs", "ovix-playlist", "ovix-footer"}));
    const LayoutText classic = LayoutText::parse(LayoutSource::builtinText(QStringLiteral("classic")));
    EXPECT_EQ(classic.elements[3].optionMap().value(QStringLiteral("time")).toString(),
              QStringLiteral("sides"));
    EXPECT_EQ(QLatin1String(LayoutSource::kDefault), QLatin1String("classic"));
}

TEST(LayoutSource, ReadsAFileAndNamesWhatIsMissing) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mine.layout"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("waveform-seekbar\n");
    f.close();
    const LayoutSource fromFile = LayoutSource::resolve(file);
    EXPECT_TRUE(fromFile.error.isEmpty());
    EXPECT_EQ(fromFile.text, QStringLiteral("waveform-seekbar\n"));

    const LayoutSource missing = LayoutSource::resolve(dir.filePath(QStringLiteral("nope.layout")));
    EXPECT_TRUE(missing.text.isEmpty());
    EXPECT_TRUE(missing.error.contains(QStringLiteral("nope.layout")));
    EXPECT_TRUE(missing.error.contains(QStringLiteral("classic, ovix")));
}

}  // namespace
