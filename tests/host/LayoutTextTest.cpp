#include "LayoutSource.h"
#include "LayoutText.h"
#include "LineWords.h"
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

TEST(LayoutText, WarnsOfOptionsAKnownElementDoesNotReadAndStillPlacesIt) {
    const struct {
        const char* line;
        QStringList warnings;
    } cases[] = {
        {"waveform-seekbar bogus=1 time=weird",
         {"line 1: waveform-seekbar has no option \"bogus\" (it has: time); ignoring it",
          "line 1: waveform-seekbar: \"weird\" is not a value of time (expected: sides); ignoring it"}},
        {"\"Waveform Seekbar\" time=Sides",
         {"line 1: Waveform Seekbar: \"Sides\" is not a value of time "
          "(expected: sides); ignoring it"}},
        {"classic-toolbar size=big", {"line 1: classic-toolbar takes no options; ignoring \"size\""}},
        {"ovix-playlist rows=9", {"line 1: ovix-playlist takes no options; ignoring \"rows\""}},
        {"waveform-seekbar time=sides", {}},
        // Elements this host does not ship may read anything.
        {"fixture-box whatever=1", {}},
    };
    for (const auto& c : cases) {
        const LayoutText layout = LayoutText::parse(QString::fromUtf8(c.line));
        EXPECT_TRUE(layout.errors.isEmpty()) << c.line;
        ASSERT_EQ(layout.elements.size(), 1) << c.line;
        EXPECT_EQ(layout.elements[0].options.size(), QString::fromUtf8(c.line).count(u'='));
        QStringList warnings;
        for (const LayoutError& w : layout.warnings) warnings.append(w.text());
        EXPECT_EQ(warnings, c.warnings) << c.line;
    }
}

TEST(LayoutText, EchoesNamesShortAndPrintable) {
    const QString huge(1'000'000, u'x');
    const LayoutText layout = LayoutText::parse(huge + QStringLiteral("=1\n") +
                                                QStringLiteral("classic-tabs \"a\x01\x7f\u00e9\"=1\n"));
    ASSERT_EQ(layout.errors.size(), 1);
    EXPECT_LT(layout.errors[0].message.size(), 200);
    EXPECT_TRUE(layout.errors[0].message.contains(QString(kShownLength, u'x') + u'…'));
    ASSERT_EQ(layout.warnings.size(), 1);
    EXPECT_EQ(layout.warnings[0].message,
              QStringLiteral("classic-tabs takes no options; ignoring \"a\\x01\\x7f\u00e9\""));

    EXPECT_EQ(shownText(QStringLiteral("tab\there\u0085\u200b")),
              QStringLiteral("tab\\x09here\\x85\\u{200b}"));
    EXPECT_EQ(shownText(QString(kShownLength, u'y')), QString(kShownLength, u'y'));
}

TEST(LayoutText, SaysWhenThereIsNothingToPlace) {
    for (const char* text : {"", "\n\n", "# only a comment\n   \n"})
        EXPECT_TRUE(LayoutText::parse(QString::fromUtf8(text)).isEmpty()) << text;
    // A line that failed still shows as a placeholder: not empty.
    EXPECT_FALSE(LayoutText::parse(QStringLiteral("=x")).isEmpty());
}

TEST(LayoutSource, BuiltinLayoutsReadCleanlyInTheirOrder) {
    auto names = [](const QString& layout) {
        const LayoutText parsed = LayoutText::parse(LayoutSource::resolve(layout).text);
        EXPECT_TRUE(parsed.errors.isEmpty());
        EXPECT_TRUE(parsed.warnings.isEmpty());
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

    // Binary data is refused whole rather than read as thousands of bad lines.
    for (const QByteArray& bytes :
         {QByteArray("waveform-seekbar\n\0\n", 19), QByteArray("\xff\xfe\x00\x01\n")}) {
        QFile b(dir.filePath(QStringLiteral("binary")));
        ASSERT_TRUE(b.open(QIODevice::WriteOnly | QIODevice::Truncate));
        b.write(bytes);
        b.close();
        const LayoutSource binary = LayoutSource::resolve(b.fileName());
        EXPECT_TRUE(binary.text.isEmpty());
        EXPECT_TRUE(binary.error.contains(QStringLiteral("not UTF-8 text"))) << binary.error.toStdString();
    }
}

}  // namespace
