#pragma once

// The host's command line.

#include <QString>
#include <QStringList>

class HostOptions {
public:
    // `arguments` starts with the program name, as QCoreApplication gives it.
    static HostOptions parse(const QStringList& arguments);
    // $XDG_CONFIG_HOME/quorvane, or ~/.config/quorvane when that is unset or
    // not absolute.
    static QString defaultProfileDir();
    static QString usage();

    QString profileDir;
    bool listComponents = false;
    QString screenshotFile;
    bool help = false;
    // Set when the command line is unusable; the host then prints it and usage.
    QString error;
};
