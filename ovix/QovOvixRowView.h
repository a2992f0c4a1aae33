#pragma once

// One row of the Ovix playlist as drawn: a group header (album in the accent
// colour, the group's totals on the right, a rule beneath) or a two-line
// track (number and first line, second line, length on the right; filled
// with the accent colour when playing, tinted when selected). It draws from
// its properties alone; the list's delegate fills one per row it paints.
// Main thread.

#include <QRectF>
#include <QString>

#include <cstddef>

class QPainter;

class QovOvixRowView {
public:
    static constexpr int kHeaderHeight = 30;
    static constexpr int kTrackHeight = 38;

    bool header = false;
    bool selected = false;
    bool playing = false;
    QString line1;
    QString line2;
    QString right;
    size_t number = 0;

    // `bounds` is the row's rectangle in the painter's coordinates.
    void paint(QPainter& p, const QRectF& bounds) const;

private:
    void paintHeader(QPainter& p, double w, double h) const;
    void paintTrack(QPainter& p, double w, double h) const;
};
