#include "TestWav.h"

#include <QDataStream>
#include <QFile>

void writeTestWav(const QString& path, double seconds) {
    const quint32 rate = 44100, frames = quint32(rate * seconds), bytes = frames * 4;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + bytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(2) << rate << rate * 4 << quint16(4) << quint16(16);
    out.writeRawData("data", 4);
    out << bytes;
    for (quint32 i = 0; i < frames; ++i) {
        const auto v = qint16(3000 * ((i / 50) % 2 ? 1 : -1));
        out << v << v;
    }
}
