#include "WindowShot.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace WindowShot {

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget& widget, const QString& file, bool makeFolders, QString* error) {
    if (makeFolders) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!QDir().mkpath(folder)) {
            if (error) *error = QStringLiteral("cannot create the folder %1").arg(folder);
            return false;
        }
    }
    const QPixmap picture = widget.grab();
    if (picture.isNull() || !picture.save(file)) {
        if (error) *error = QStringLiteral("cannot write the picture %1").arg(file);
        return false;
    }
    return true;
}

bool capture(QWidget& widget, const QString& file, int settleMs, bool makeFolders, QString* error) {
    settle(settleMs);
    return save(widget, file, makeFolders, error);
}

}  // namespace WindowShot
