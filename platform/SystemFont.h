#pragma once

// Text sized as the Mac sizes it. A Mac point is one device-independent pixel,
// the unit of every view's geometry here; Qt's points go through the screen's
// dots per inch instead (13 pt is 17 px at 96 dpi). So text is sized in pixels:
// N points of text are N pixels, on every screen and in every image, and text
// measured against a layout given in points fits it. Main thread.

#include "platform_export.h"

#include <QFont>

namespace platform {

class QOV_PLATFORM_API SystemFont {
public:
    // The regular and the small system font sizes, in points.
    static constexpr double kRegularSize = 13;
    static constexpr double kSmallSize = 11;

    // The system font (the application's) at that size and weight.
    static QFont ofSize(double points, QFont::Weight weight = QFont::Normal);
    // Gives any font a size in points by the same rule; sizes round to whole
    // points.
    static void setSize(QFont& font, double points);
};

}  // namespace platform
