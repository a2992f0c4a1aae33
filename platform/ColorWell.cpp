#include "ColorWell.h"

#include "SystemColors.h"

#include <QColorDialog>
#include <QPainter>
#include <QPainterPath>

namespace platform {

ColorWell::ColorWell(QWidget* parent) : QAbstractButton(parent), m_color(Qt::white) {
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, &ColorWell::openDialog);
}

void ColorWell::setColor(const QColor& color) {
    if (color == m_color) return;
    m_color = color;
    update();
}

void ColorWell::pick(const QColor& color) {
    setColor(color);
    emit colorPicked(color);
}

void ColorWell::openDialog() {
    auto* dialog = new QColorDialog(m_color, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    connect(dialog, &QColorDialog::currentColorChanged, this, [this](const QColor& color) {
        if (color == m_color) return;
        setColor(color);
        emit colorBrowsed(color);
    });
    connect(dialog, &QColorDialog::colorSelected, this, &ColorWell::pick);
    connect(dialog, &QDialog::rejected, this, [this, before = m_color] {
        setColor(before);
        emit pickCancelled();
    });
    dialog->open();
}

void ColorWell::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath frame;
    frame.addRoundedRect(outer, 5, 5);
    p.fillPath(frame, SystemColors::color(SystemColor::Control));
    p.setPen(QPen(SystemColors::color(SystemColor::Separator), 1));
    p.drawPath(frame);
    QPainterPath swatch;
    swatch.addRoundedRect(outer.adjusted(4, 4, -4, -4), 2, 2);
    // Translucent colours (the label colours) read as they would on paper.
    if (m_color.alpha() < 255) p.fillPath(swatch, Qt::white);
    p.fillPath(swatch, m_color);
    if (isDown() || hasFocus()) {
        p.setPen(QPen(SystemColors::accentColor(), 2));
        p.drawPath(frame);
    }
}

}  // namespace platform
