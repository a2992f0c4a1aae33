#include "StartDrag.h"

#include <QDrag>
#include <QMimeData>
#include <QWidget>

#include <memory>

namespace platform {

namespace {

DragHook& hook() {
    static DragHook h;
    return h;
}

}  // namespace

Qt::DropAction startDrag(QWidget* source, QMimeData* data, Qt::DropActions allowed, const QPixmap& image,
                         QPoint hotSpot) {
    if (const DragHook h = hook()) {
        const std::unique_ptr<QMimeData> owned(data);
        return h(source, *owned, allowed);
    }
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    if (!image.isNull()) {
        drag->setPixmap(image);
        drag->setHotSpot(hotSpot);
    }
    // Qt deletes the drag once it is over.
    return drag->exec(allowed);
}

void setDragHook(DragHook h) { hook() = std::move(h); }

}  // namespace platform
