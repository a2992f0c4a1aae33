#pragma once

// Offering one component's update and carrying it out: the offer alert, the
// download, the digest check, the installation and the restart offer. Alerts
// are application-modal. Main thread.

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace dravik_update {

inline const char* const kDownloadFailed = "Download failed.";
inline const char* const kChecksumMismatch =
    "The downloaded file does not match its checksum. Nothing was installed.";

// `manual` shows no "Skip This Version" and ignores a skipped version.
void showUpdate(const QString& fileName, const QString& displayName, const QString& currentVersion,
                const QJsonObject& entry, bool manual);

// Download, check and install, then the installed or the failed alert.
void downloadAndInstall(const QString& fileName, const QString& displayName, const QJsonObject& entry);

// The same without alerts: `done` gets a null string on success, otherwise the
// reason; always later, on the main thread.
void fetchAndInstall(const QString& fileName, const QJsonObject& entry,
                     std::function<void(const QString&)> done);

// 64 lower-case hexadecimal digits.
QString sha256Hex(const QByteArray& data);

// The entry's web page, or the maker's when it names none a browser should open.
void openDownloadPage(const QJsonObject& entry);

// An application-modal alert; the answer counts buttons from
// platform::Alert::kFirstButton. No buttons: the platform's single default one.
int ask(const QString& message, const QString& informative, const QStringList& buttons = {});

// "Restart Now" or "Later" after an installation; the first restarts the host.
void offerRestart(const QString& message, const QString& informative);

}  // namespace dravik_update
