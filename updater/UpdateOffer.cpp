#include "UpdateOffer.h"

#include "Download.h"
#include "Manifest.h"
#include "PackageInstaller.h"
#include "Relaunch.h"
#include "UpdateCheck.h"
#include "UpdateEndpoints.h"

#include "Alert.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QSettings>
#include <QUrl>

namespace dravik_update {

void showUpdate(const QString& fileName, const QString& displayName, const QString& currentVersion,
                const QJsonObject& entry, bool manual) {
    const QString key = skipKey(fileName);
    const QString version = str(entry, QStringLiteral("version"));
    const QVariant skipped = QSettings().value(key);
    if (!manual && skipped.typeId() == QMetaType::QString && skipped.toString() == version) return;

    const QString notes = str(entry, QStringLiteral("notes"));
    const bool installable = isInstallable(entry);
    QStringList buttons{installable ? QStringLiteral("Install and Restart") : QStringLiteral("Download"),
                        QStringLiteral("Later")};
    if (!manual) buttons << QStringLiteral("Skip This Version");
    const int answer =
        ask(QStringLiteral("%1 %2 is available").arg(displayName, version),
            QStringLiteral("You have version %1.%2%3")
                .arg(currentVersion, notes.isEmpty() ? QString() : QStringLiteral("\n\n"), notes),
            buttons);

    switch (answer) {
        case platform::Alert::kFirstButton:
            if (installable)
                downloadAndInstall(fileName, displayName, entry);
            else
                openDownloadPage(entry);
            break;
        case platform::Alert::kThirdButton:
            QSettings().setValue(key, version);
            break;
        default:
            break;
    }
}

void downloadAndInstall(const QString& fileName, const QString& displayName, const QJsonObject& entry) {
    const QString version = str(entry, QStringLiteral("version"));
    fetchAndInstall(fileName, entry, [displayName, version](const QString& reason) {
        if (reason.isNull())
            offerRestart(QStringLiteral("%1 %2 installed").arg(displayName, version),
                         QStringLiteral("Restart quorvane to start using it."));
        else
            ask(QStringLiteral("Could not update %1").arg(displayName), reason);
    });
}

void fetchAndInstall(const QString& fileName, const QJsonObject& entry,
                     std::function<void(const QString&)> done) {
    const QString expected = str(entry, QStringLiteral("sha256")).toLower();
    download(QUrl(str(entry, QStringLiteral("file"))),
             [fileName, expected, done = std::move(done)](const QByteArray& body, const QString& error) {
                 if (!error.isEmpty()) return done(error);
                 if (body.isEmpty()) return done(QString::fromLatin1(kDownloadFailed));
                 // Before anything is written: a mismatch leaves the disk as it was.
                 if (sha256Hex(body) != expected) return done(QString::fromLatin1(kChecksumMismatch));
                 done(installPackage(body, fileName));
             });
}

QString sha256Hex(const QByteArray& data) {
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
}

void openDownloadPage(const QJsonObject& entry) {
    // Only web pages: a manifest must not make the desktop open local files.
    const QUrl page(str(entry, QStringLiteral("url")), QUrl::StrictMode);
    const bool web =
        page.isValid() && (page.scheme() == u"https" || page.scheme() == u"http") && !page.host().isEmpty();
    QDesktopServices::openUrl(web ? page : makerPage());
}

int ask(const QString& message, const QString& informative, const QStringList& buttons) {
    platform::Alert alert;
    alert.setMessageText(message);
    alert.setInformativeText(informative);
    for (const QString& b : buttons) alert.addButton(b);
    return alert.runModal();
}

void offerRestart(const QString& message, const QString& informative) {
    if (ask(message, informative, {QStringLiteral("Restart Now"), QStringLiteral("Later")}) ==
        platform::Alert::kFirstButton)
        relaunch();
}

}  // namespace dravik_update
