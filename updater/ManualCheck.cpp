#include "ManualCheck.h"

#include "Manifest.h"
#include "UpdateCheck.h"
#include "UpdateEndpoints.h"
#include "UpdateOffer.h"

#include "Alert.h"
#include "componentversion.h"
#include "service_factory.h"

#include <QStringList>

#include <memory>

namespace dravik_update {

namespace {

struct InstallRun {
    std::vector<Candidate> candidates;
    size_t next = 0;
    QStringList failures;
};

// The next download starts only once the previous package is in place or failed.
void installNext(std::shared_ptr<InstallRun> run) {
    if (run->next == run->candidates.size()) {
        const bool allWell = run->failures.isEmpty();
        offerRestart(
            allWell ? QStringLiteral("Updates installed")
                    : QStringLiteral("Some updates could not be installed"),
            allWell ? QStringLiteral("Restart quorvane to start using them.") : run->failures.join(u'\n'));
        return;
    }
    const Candidate& c = run->candidates[run->next++];
    fetchAndInstall(c.fileName, c.entry, [run, name = c.name](const QString& reason) {
        if (!reason.isNull()) run->failures << QStringLiteral("%1: %2").arg(name, reason);
        installNext(run);
    });
}

QString text(void (componentversion::*get)(cvk::string_base&), componentversion& cv) {
    cvk::stringLite s;
    (cv.*get)(s);
    return QString::fromStdString(s.str());
}

}  // namespace

InstalledComponents installedComponents() {
    // This host names a component by its bundle name, already without extension.
    InstalledComponents installed;
    const service_class_helper_t<componentversion> versions;
    for (size_t i = 0; i < versions.get_count(); ++i) {
        const service_ptr_t<componentversion> cv = versions.create(i);
        const QString fileName = text(&componentversion::get_file_name, *cv);
        if (fileName.isEmpty()) continue;
        installed[fileName] = {text(&componentversion::get_component_name, *cv),
                               text(&componentversion::get_component_version, *cv)};
    }
    return installed;
}

void checkForPluginUpdates() {
    fetchManifest([installed = installedComponents()](const std::optional<QJsonObject>& manifest,
                                                      const QString& error) {
        checkAllPluginsNow(installed, manifest, error);
    });
}

void checkAllPluginsNow(const InstalledComponents& installed, const std::optional<QJsonObject>& manifest,
                        const QString& error) {
    if (!manifest) {
        ask(QStringLiteral("Could not check for updates"),
            !error.isEmpty() ? error
                             : QStringLiteral("The update server %1 did not return update information.")
                                   .arg(serverHost()));
        return;
    }
    std::vector<Candidate> candidates;
    QStringList current;
    for (auto it = manifest->begin(); it != manifest->end(); ++it) {
        const auto found = installed.find(it.key());
        if (found == installed.end()) continue;
        const InstalledComponent& c = found->second;
        current << QStringLiteral("%1 %2").arg(c.name, c.version);
        if (const auto entry = newerEntry(*manifest, it.key(), c.version))
            candidates.push_back({it.key(), c.name, c.version, *entry});
    }
    if (candidates.empty())
        ask(QStringLiteral("All plugins are up to date"), current.join(u'\n'));
    else if (candidates.size() == 1)
        showUpdate(candidates[0].fileName, candidates[0].name, candidates[0].installedVersion,
                   candidates[0].entry, true);
    else
        offerMany(candidates);
}

void offerMany(const std::vector<Candidate>& candidates) {
    bool allInstallable = true;
    QStringList lines;
    for (const Candidate& c : candidates) {
        allInstallable = allInstallable && isInstallable(c.entry);
        lines << QStringLiteral("\u2022 %1 %2 \u2192 %3")
                     .arg(c.name, c.installedVersion, str(c.entry, QStringLiteral("version")));
    }
    const QString first =
        allInstallable ? QStringLiteral("Install All and Restart") : QStringLiteral("Open Download Page");
    if (ask(QStringLiteral("Plugin updates are available"), lines.join(u'\n'),
            {first, QStringLiteral("Later")}) != platform::Alert::kFirstButton)
        return;
    if (allInstallable)
        installNext(std::make_shared<InstallRun>(InstallRun{candidates, 0, {}}));
    else
        openDownloadPage(candidates.front().entry);
}

}  // namespace dravik_update
