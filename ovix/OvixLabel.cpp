#include "OvixLabel.h"

#include <QPainter>

OvixLabel::OvixLabel(const QFont& font, platform::SystemColor color, QWidget* parent)
    : QLabel(parent), _color(color) {
    setFont(font);
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize OvixLabel::minimumSizeHint() const { return QSize(0, QLabel::minimumSizeHint().height()); }

void OvixLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    p.setPen(platform::SystemColors::color(_color));
    const QRect r = contentsRect();
    p.drawText(r, int(alignment()) | Qt::TextSingleLine,
               fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
}
