#pragma once

// Where the window's layout text comes from: one of the built-in layouts by
// name, or a file. Any thread.

#include <QString>
#include <QStringList>

struct LayoutSource {
    static constexpr const char* kDefault = "classic";

    QString name;  // the built-in name, or the file path as given
    QString text;
    // Set when neither a built-in layout nor a readable text file has that name.
    QString error;

    // A built-in name wins over a file of the same name in the working folder.
    static LayoutSource resolve(const QString& nameOrFile);

    static QStringList builtinNames();
    // Empty for a name that is not built in.
    static QString builtinText(const QString& name);
};
