#include "Relaunch.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace dravik_update {

namespace {

// $1 is the process to wait for, the rest is the command to run after it.
const char* const kScript = "while /bin/kill -0 \"$1\" 2>/dev/null; do sleep 0.3; done; shift; exec \"$@\"";

}  // namespace

bool startAfterExit(qint64 pid, const QString& program, const QStringList& arguments) {
    QStringList shellArguments{QStringLiteral("-c"), QLatin1String(kScript),
                               QStringLiteral("quorvane-restart"), QString::number(pid), program};
    shellArguments += arguments;
    return QProcess::startDetached(QStringLiteral("/bin/sh"), shellArguments, QDir::currentPath());
}

void relaunch() {
    startAfterExit(QCoreApplication::applicationPid(), QCoreApplication::applicationFilePath(),
                   QCoreApplication::arguments().mid(1));
    QCoreApplication::quit();
}

}  // namespace dravik_update
