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
    // A built-in layout name or a layout file.
    QString layout;
    QString scriptFile;
    QStringList libraryFolders;
    bool demo = false;
    bool help = false;
    // Set when the command line is unusable; the host then prints it and usage.
    QString error;
};
