#include "OvixCoverFetch.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

QByteArray encoded(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

TEST(DecodeCover, AHugePictureIsDecodedAtTheSizeShown) {
    // Twenty megapixels, as a camera writes them.
    const QImage image = decodeCover(encoded(QSize(5472, 3648), "JPG"), QSize(160, 160));
    EXPECT_EQ(image.width(), 160);
    EXPECT_NEAR(image.height(), 107, 1);
}

TEST(DecodeCover, SmallPicturesKeepTheirSizeAndBrokenOnesGiveNothing) {
    EXPECT_EQ(decodeCover(encoded(QSize(40, 30), "PNG"), QSize(160, 160)).size(), QSize(40, 30));
    QByteArray cut = encoded(QSize(300, 300), "PNG");
    cut.truncate(cut.size() / 3);
    EXPECT_TRUE(decodeCover(cut, QSize(160, 160)).isNull());
    EXPECT_TRUE(decodeCover("not a picture at all", QSize(160, 160)).isNull());
    EXPECT_TRUE(decodeCover({}, QSize(160, 160)).isNull());
}

}  // namespace
