#include "SystemFont.h"

#include "Printers.h"
#include "TestApplication.h"

#include <QFontMetricsF>
#include <QImage>

#include <gtest/gtest.h>

using platform::SystemFont;

TEST(SystemFont, PointsArePixelsOnEveryDevice) {
    testApplication();
    const QFont font = SystemFont::ofSize(SystemFont::kSmallSize, QFont::Medium);
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(font.weight(), QFont::Medium);
    EXPECT_EQ(font.family(), QFont().family());

    // An image of twice the screen's density draws the text just as tall:
    // text fits a layout given in points wherever it is drawn.
    QImage standard(10, 10, QImage::Format_ARGB32), dense(10, 10, QImage::Format_ARGB32);
    standard.setDotsPerMeterX(2835);  // 72 dpi
    standard.setDotsPerMeterY(2835);
    dense.setDotsPerMeterX(7560);  // 192 dpi
    dense.setDotsPerMeterY(7560);
    const QFont regular = SystemFont::ofSize(SystemFont::kRegularSize);
    EXPECT_DOUBLE_EQ(QFontMetricsF(regular, &standard).height(), QFontMetricsF(regular, &dense).height());
    EXPECT_LT(QFontMetricsF(font, &dense).height(), QFontMetricsF(regular, &dense).height());
}

TEST(SystemFont, AnyFamilyTakesWholePointsAndNeverNone) {
    testApplication();
    QFont named(QStringLiteral("DejaVu Serif"));
    const std::pair<double, int> sizes[] = {{12.4, 12}, {12.6, 13}, {32, 32}, {0.2, 1}, {-3, 1}};
    for (const auto& [points, pixels] : sizes) {
        SystemFont::setSize(named, points);
        EXPECT_EQ(named.pixelSize(), pixels) << points;
    }
    EXPECT_EQ(named.family(), QStringLiteral("DejaVu Serif"));
}
