#include "DemoCover.h"

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace demo {

QByteArray renderCover(const CoverStyle& style, const char* format, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, size, size);
    background.setColorAt(0, style.from);
    background.setColorAt(1, style.to);
    p.fillRect(image.rect(), background);

    // Soft light spots; placed from the title so each cover differs.
    const size_t seed = qHash(style.title);
    for (int i = 0; i < 4; ++i) {
        const double x = double((seed >> (i * 5)) % 100) / 100.0 * size;
        const double y = double((seed >> (i * 7 + 3)) % 100) / 100.0 * size;
        const double r = size * (0.15 + 0.1 * i);
        QRadialGradient spot(x, y, r);
        spot.setColorAt(0, QColor(255, 255, 255, 70));
        spot.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(spot);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(x, y), r, r);
    }

    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const int margin = size / 12;
        const QRect box(margin, margin, size - 2 * margin, size - 2 * margin);
        QFont titleFont;
        titleFont.setPixelSize(size / 11);
        titleFont.setBold(true);
        p.setFont(titleFont);
        p.setPen(QColor(255, 255, 255, 235));
        p.drawText(box, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, style.title + "\n\n");
        QFont artistFont;
        artistFont.setPixelSize(size / 20);
        p.setFont(artistFont);
        p.setPen(QColor(255, 255, 255, 200));
        p.drawText(box, Qt::AlignLeft | Qt::AlignBottom, style.artist);
    }
    p.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, 90)) return {};
    return bytes;
}

}  // namespace demo
