#pragma once

// The Ovix look's fixed accent colour and its one choice of fonts. Main
// thread.

#include <QColor>
#include <QFont>

// sRGB 0.95, 0.55, 0.13.
QColor ovixAccent(qreal alpha = 1.0);

// The system font at `points`. Times and totals use it too: the system faces
// here draw their figures at one width, as a monospaced-digit face would.
QFont ovixFont(qreal points, QFont::Weight weight = QFont::Normal);
