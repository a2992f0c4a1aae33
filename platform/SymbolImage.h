#pragma once

// The system symbols the components show (transport, volume, order, lock,
// note, plus and minus, search, sort indicators), drawn here, by name. An image
// is as tall and as wide as its symbol needs at the given point size (so
// "minus" is wide and low, "lock.fill" narrow), with the symbol centred; symbols
// that replace each other in one place ("speaker.slash.fill" and the
// "speaker.wave" family, "repeat" and "repeat.1", "plus" and "minus") share one
// size. Any thread.

#include "platform_export.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>

namespace platform {

// The symbol in color, for a point size in device-independent pixels; the
// image's device pixel ratio is devicePixelRatio. Null for an unknown name or a
// size that is not positive.
QOV_PLATFORM_API QImage symbolImage(const QString& name, qreal pointSize, const QColor& color,
                                    qreal devicePixelRatio = 1.0);

// The same at 1x and 2x, for buttons. Main thread (it makes pixmaps).
QOV_PLATFORM_API QIcon symbolIcon(const QString& name, qreal pointSize, const QColor& color);

QOV_PLATFORM_API bool hasSymbol(const QString& name);
QOV_PLATFORM_API QStringList symbolNames();

}  // namespace platform
