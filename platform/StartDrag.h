#pragma once

// Where every drag the components start goes: one call in place of QDrag::exec,
// so that something other than the window system can carry a drag to its end.
//
//   Qt::DropAction done = platform::startDrag(this, data, Qt::CopyAction | Qt::MoveAction);
//
// Normally it runs a real QDrag. While a hook is installed (automation and
// tests; offscreen Qt cannot run a real drag) the hook carries the drag
// instead: it delivers the drag-enter, drag-move and drop events to whatever
// lies under its release point and answers the action the target took. Either
// way the call returns once the drag is over, and the source sees the same
// outcome. Main thread.

#include "platform_export.h"

#include <QPixmap>
#include <QPoint>

#include <functional>

class QMimeData;
class QWidget;

namespace platform {

// Takes `data`. Returns the action the target performed, Qt::IgnoreAction when
// the drag was cancelled or refused. `image` shows under the pointer, its
// `hotSpot` at the pointer.
QOV_PLATFORM_API Qt::DropAction startDrag(QWidget* source, QMimeData* data, Qt::DropActions allowed,
                                          const QPixmap& image = {}, QPoint hotSpot = {});

// Carries a drag to its end in place of the window system; the data lives for
// the call.
using DragHook =
    std::function<Qt::DropAction(QWidget* source, const QMimeData& data, Qt::DropActions allowed)>;

// An empty hook gives drags back to the window system.
QOV_PLATFORM_API void setDragHook(DragHook hook);

}  // namespace platform
