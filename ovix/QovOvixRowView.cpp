#include "QovOvixRowView.h"

#include "OvixStyle.h"
#include "SystemColors.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

using platform::SystemColor;
using platform::SystemColors;

// Text drawn from the top of its rectangle, cut at the tail with an ellipsis.
void drawInRect(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& color) {
    if (r.width() <= 0) return;
    const QFontMetricsF metrics(font);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
               metrics.elidedText(text, Qt::ElideRight, r.width()));
}

// Text whose top-left corner is `at`.
void drawAtPoint(QPainter& p, QPointF at, const QString& text, const QFont& font, const QColor& color) {
    const QFontMetricsF metrics(font);
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRectF(at, QSizeF(metrics.horizontalAdvance(text) + 1, metrics.height())),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

void QovOvixRowView::paint(QPainter& p, const QRectF& bounds) const {
    p.save();
    p.translate(bounds.topLeft());
    p.setClipRect(QRectF(QPointF(0, 0), bounds.size()));
    if (header)
        paintHeader(p, bounds.width(), bounds.height());
    else
        paintTrack(p, bounds.width(), bounds.height());
    p.restore();
}

void QovOvixRowView::paintHeader(QPainter& p, double w, double h) const {
    const QFont totalsFont = ovixFont(12, QFont::DemiBold);
    const double w2 = QFontMetricsF(totalsFont).horizontalAdvance(line2);
    drawInRect(p, QRectF(10, h - 22, w - w2 - 30, 18), line1, ovixFont(13, QFont::DemiBold), ovixAccent());
    drawAtPoint(p, QPointF(w - w2 - 10, h - 21), line2, totalsFont, ovixAccent());
    p.fillRect(QRectF(10, h - 2, w - 20, 1), ovixAccent(0.5));
}

void QovOvixRowView::paintTrack(QPainter& p, double w, double h) const {
    if (playing)
        p.fillRect(QRectF(0, 0, w, h), ovixAccent());
    else if (selected)
        p.fillRect(QRectF(0, 0, w, h), ovixAccent(0.28));
    const QColor primary = playing ? QColor(Qt::white) : SystemColors::color(SystemColor::Label);
    const QColor secondary =
        playing ? QColor::fromRgbF(1, 1, 1, 0.8f) : SystemColors::color(SystemColor::SecondaryLabel);

    const QFont rightFont = ovixFont(12);
    const double wr = QFontMetricsF(rightFont).horizontalAdvance(right);
    drawInRect(p, QRectF(10, 3, w - wr - 30, 17), QStringLiteral("%1. %2").arg(number).arg(line1),
               ovixFont(12), primary);
    drawInRect(p, QRectF(10, 20, w - wr - 30, 14), line2, ovixFont(10), secondary);
    drawAtPoint(p, QPointF(w - wr - 10, 3), right, rightFont, primary);
}
