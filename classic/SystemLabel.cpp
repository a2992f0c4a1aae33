#include "SystemLabel.h"

#include <QPainter>

SystemLabel::SystemLabel(platform::SystemColor color, QWidget* parent) : QLabel(parent), _color(color) {
    setTextFormat(Qt::PlainText);
}

QSize SystemLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

void SystemLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(platform::SystemColors::color(_color));
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width(), Qt::TextSingleLine);
    painter.drawText(area, int(alignment()) | Qt::TextSingleLine, shown);
}
