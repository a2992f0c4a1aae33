#include "ElementPlaceholder.h"

#include "SystemColors.h"

#include <QPainter>
#include <QPainterPath>

ElementPlaceholder::ElementPlaceholder(const QString& message, QWidget* parent)
    : QWidget(parent), m_message(message) {
    setToolTip(message);
    setAccessibleName(message);
}

void ElementPlaceholder::paintEvent(QPaintEvent*) {
    using platform::SystemColor;
    using platform::SystemColors;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), SystemColors::color(SystemColor::WindowBackground));

    const QRectF box = QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5);
    QPainterPath outline;
    outline.addRoundedRect(box, 6, 6);
    QColor hatch = SystemColors::color(SystemColor::SecondaryLabel);
    hatch.setAlphaF(0.12);
    p.save();
    p.setClipPath(outline);
    p.setPen(QPen(hatch, 1));
    for (int x = -height(); x < width(); x += 10) p.drawLine(QPointF(x, height()), QPointF(x + height(), 0));
    p.restore();

    QPen dashed(SystemColors::color(SystemColor::SecondaryLabel), 1.2, Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);

    QFont f = font();
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(SystemColors::color(SystemColor::SecondaryLabel));
    const QString text = p.fontMetrics().elidedText(m_message, Qt::ElideRight, int(box.width()) - 16);
    p.drawText(box, Qt::AlignCenter, text);
}
