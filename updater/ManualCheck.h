#pragma once

// The check of every installed component at once, behind the Classic menu
// command: all newer versions offered together, installed one after another,
// then one restart offered. Keeps no state between runs and leaves the daily
// check's dates alone. Main thread.

#include <QJsonObject>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace dravik_update {

struct InstalledComponent {
    QString name;
    QString version;
};

// By component file name.
using InstalledComponents = std::map<QString, InstalledComponent>;

struct Candidate {
    QString fileName;
    QString name;
    QString installedVersion;
    QJsonObject entry;
};

// Every component version record the host has registered.
InstalledComponents installedComponents();

// The command: the installed components, a fresh manifest, then the result.
void checkForPluginUpdates();

void checkAllPluginsNow(const InstalledComponents& installed, const std::optional<QJsonObject>& manifest,
                        const QString& error);

void offerMany(const std::vector<Candidate>& candidates);

}  // namespace dravik_update
