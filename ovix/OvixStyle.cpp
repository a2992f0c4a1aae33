#include "OvixStyle.h"

#include <QApplication>

QColor ovixAccent(qreal alpha) { return QColor::fromRgbF(0.95f, 0.55f, 0.13f, float(alpha)); }

QFont ovixFont(qreal points, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(qMax(1, qRound(points)));
    font.setWeight(weight);
    return font;
}
