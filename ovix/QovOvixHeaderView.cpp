#include "QovOvixHeaderView.h"

#include "SystemColors.h"

#include <QPainter>

QovOvixHeaderView::QovOvixHeaderView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(800, 96);
    setFixedHeight(96);
}

void QovOvixHeaderView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), platform::SystemColors::color(platform::SystemColor::WindowBackground));
}
