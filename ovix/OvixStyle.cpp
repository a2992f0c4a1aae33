#include "OvixStyle.h"

#include "SystemFont.h"

QColor ovixAccent(qreal alpha) { return QColor::fromRgbF(0.95f, 0.55f, 0.13f, float(alpha)); }

QFont ovixFont(qreal points, QFont::Weight weight) { return platform::SystemFont::ofSize(points, weight); }
