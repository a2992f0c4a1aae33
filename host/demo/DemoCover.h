#pragma once

// Album covers for the demo library: a diagonal gradient with a few soft
// circles and the album's title and artist.
//
// Threads: the main thread (text needs the application's fonts; without a
// QGuiApplication the cover simply has no text).

#include <QByteArray>
#include <QColor>
#include <QString>

namespace demo {

struct CoverStyle {
    QString title;
    QString artist;
    QColor from;
    QColor to;
};

// Encoded as `format` ("JPG" or "PNG"), `size` pixels square; empty on failure.
QByteArray renderCover(const CoverStyle& style, const char* format, int size = 600);

}  // namespace demo
