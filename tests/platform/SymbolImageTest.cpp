#include "SymbolImage.h"

#include "TestApplication.h"

#include <gtest/gtest.h>

using platform::symbolImage;

namespace {

// Every symbol the components ask for by name.
const char* const kUsedNames[] = {
    "play.fill",
    "pause.fill",
    "stop.fill",
    "backward.end.fill",
    "forward.end.fill",
    "backward.fill",
    "forward.fill",
    "eject.fill",
    "shuffle",
    "repeat",
    "repeat.1",
    "speaker.slash.fill",
    "speaker.wave.1.fill",
    "speaker.wave.2.fill",
    "lock.fill",
    "music.note",
    "plus",
    "minus",
    "xmark",
    "magnifyingglass",
    "NSAscendingSortIndicator",
    "NSDescendingSortIndicator",
};

// Symbols that replace each other in one place and so share one frame.
const QList<QStringList> kFamilies = {
    {"speaker.slash.fill", "speaker.wave.1.fill", "speaker.wave.2.fill"},
    {"repeat", "repeat.1"},
    {"plus", "minus"},
    {"NSAscendingSortIndicator", "NSDescendingSortIndicator"},
};

QStringList familyOf(const QString& name) {
    for (const QStringList& family : kFamilies)
        if (family.contains(name)) return family;
    return {name};
}

// Pixels more than faintly covered.
QRect inkRect(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 40) ink |= QRect(x, y, 1, 1);
    return ink;
}

class SymbolImageTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
};

}  // namespace

TEST_F(SymbolImageTest, EveryUsedSymbolDrawsCentredInkInTheGivenColour) {
    const QColor tint(0x0A, 0x84, 0xFF);
    for (const char* name : kUsedNames) {
        for (qreal size : {13.0, 20.0, 30.0}) {
            const QImage image = symbolImage(name, size, tint);
            ASSERT_FALSE(inkRect(image).isEmpty()) << name << " at " << size;
            // Centred as a family: margins on opposite sides differ by at most a pixel.
            QRect ink;
            for (const QString& member : familyOf(name))
                ink |= inkRect(symbolImage(member, size, tint));
            EXPECT_LE(std::abs(ink.left() - (image.width() - 1 - ink.right())), 1) << name << size;
            EXPECT_LE(std::abs(ink.top() - (image.height() - 1 - ink.bottom())), 1) << name << size;
            // As tall as a glyph of that size, never a speck.
            EXPECT_LE(image.height(), qCeil(size * 1.2)) << name;
            EXPECT_GE(qMax(image.width(), image.height()), size * 0.45) << name;
            // Solid parts are exactly the tint.
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) == 255) {
                        ++opaque;
                        ASSERT_EQ(image.pixel(x, y), tint.rgb()) << name;
                    }
            EXPECT_GT(opaque, 0) << name << " at " << size;
        }
    }
}

TEST_F(SymbolImageTest, UnknownNamesAndSizesGiveNullImages) {
    for (const char* name : {"play", "", "Play.Fill"}) {
        EXPECT_TRUE(symbolImage(name, 13, Qt::black).isNull()) << name;
        EXPECT_TRUE(platform::symbolIcon(name, 13, Qt::black).isNull()) << name;
    }
    EXPECT_TRUE(symbolImage("play.fill", 0, Qt::black).isNull());
    EXPECT_TRUE(symbolImage("play.fill", -4, Qt::black).isNull());
}

TEST_F(SymbolImageTest, SymbolsThatReplaceEachOtherShareOneSize) {
    for (const QStringList& family : kFamilies) {
        const QSize size = symbolImage(family.first(), 13, Qt::black).size();
        for (const QString& name : family)
            EXPECT_EQ(symbolImage(name, 13, Qt::black).size(), size) << name.toStdString();
    }
    EXPECT_NE(symbolImage("speaker.wave.1.fill", 13, Qt::black),
              symbolImage("speaker.wave.2.fill", 13, Qt::black));
}

TEST_F(SymbolImageTest, ScalesWithPointSizeAndDevicePixelRatio) {
    const QImage small = symbolImage("lock.fill", 10, Qt::black);
    EXPECT_LT(small.width(), small.height());  // keeps its shape in a 9 by 10 box
    EXPECT_NEAR(symbolImage("lock.fill", 30, Qt::black).height(), small.height() * 3, 3);
    const QImage retina = symbolImage("lock.fill", 10, Qt::black, 2.0);
    EXPECT_EQ(retina.devicePixelRatio(), 2.0);
    EXPECT_NEAR(retina.deviceIndependentSize().height(), small.height(), 1);

    // A translucent tint stays translucent.
    const QImage faint = symbolImage("stop.fill", 20, QColor(0, 0, 0, 64));
    int most = 0;
    for (int y = 0; y < faint.height(); ++y)
        for (int x = 0; x < faint.width(); ++x) most = qMax(most, qAlpha(faint.pixel(x, y)));
    EXPECT_NEAR(most, 64, 1);
}
