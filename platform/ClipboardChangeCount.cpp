#include "ClipboardChangeCount.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

qint64 clipboardChangeCount() {
    static qint64 count = 0;
    // Watching starts at the first question: a change before it has nothing
    // kept to be compared with. A new application object has a new clipboard.
    static QMetaObject::Connection watching;
    if (!watching) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard) return count;
        watching = QObject::connect(clipboard, &QClipboard::dataChanged, [] { ++count; });
    }
    return count;
}

}  // namespace platform
