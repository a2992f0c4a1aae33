// Draws every symbol at 13, 20 and 30 pt on the light and the dark window
// background, with a hairline box around each image, for a person to judge.
// Usage: QT_QPA_PLATFORM=offscreen qov_symbol_sheet OUT.png [ZOOM] [RATIO]

#include "SymbolImage.h"
#include "SystemColors.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

using namespace platform;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [ZOOM] [RATIO]\n", argv[0]);
        return 2;
    }
    const int zoom = argc > 2 ? qMax(1, atoi(argv[2])) : 1;
    const qreal ratio = argc > 3 ? qMax(1.0, atof(argv[3])) : 1.0;

    const QStringList names = symbolNames();
    const qreal sizes[] = {13, 20, 30};
    const int cell = 44, labelWidth = 190, rowHeight = 44;
    const int width = labelWidth + 2 * 3 * cell;
    QImage sheet(QSize(width, rowHeight * names.size()) * ratio, QImage::Format_ARGB32);
    sheet.setDevicePixelRatio(ratio);
    QPainter p(&sheet);

    for (int half = 0; half < 2; ++half) {
        const Appearance a = half == 0 ? Appearance::Aqua : Appearance::DarkAqua;
        p.fillRect(QRect(labelWidth + half * 3 * cell, 0, 3 * cell, sheet.height()),
                   SystemColors::color(SystemColor::WindowBackground, a));
    }
    p.fillRect(QRect(0, 0, labelWidth, sheet.height()), Qt::white);

    for (int row = 0; row < names.size(); ++row) {
        const int y = row * rowHeight;
        p.setPen(Qt::black);
        p.drawText(QRect(6, y, labelWidth - 6, rowHeight), Qt::AlignVCenter, names[row]);
        for (int half = 0; half < 2; ++half) {
            const Appearance a = half == 0 ? Appearance::Aqua : Appearance::DarkAqua;
            for (int i = 0; i < 3; ++i) {
                const QImage image = symbolImage(names[row], sizes[i],
                                                 SystemColors::color(SystemColor::Label, a), ratio);
                const QSizeF size = image.deviceIndependentSize();
                const QPointF at(labelWidth + (half * 3 + i) * cell + (cell - size.width()) / 2,
                                 y + (rowHeight - size.height()) / 2);
                const QPointF snapped(qRound(at.x()), qRound(at.y()));
                p.setPen(QColor(255, 0, 0, 60));
                p.drawRect(QRectF(snapped, size).adjusted(-0.5, -0.5, 0.5, 0.5));
                p.drawImage(snapped, image);
            }
        }
    }
    p.end();
    const QImage out =
        zoom > 1 ? sheet.scaled(sheet.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                 : sheet;
    return out.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
