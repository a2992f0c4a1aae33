#include "SystemFont.h"

#include <QtMath>

namespace platform {

QFont SystemFont::ofSize(double points, QFont::Weight weight) {
    QFont font;
    setSize(font, points);
    font.setWeight(weight);
    return font;
}

void SystemFont::setSize(QFont& font, double points) { font.setPixelSize(qMax(1, qRound(points))); }

}  // namespace platform
