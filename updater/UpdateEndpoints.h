#pragma once

// Where the updater looks: the update server, the maker's web page, and any
// certificate authorities to trust for them beside the system's. Each comes
// from an environment variable, else a user setting, else the built-in value;
// only HTTPS addresses are taken.
//
//   QOV_UPDATE_SERVER   "dravik.update.server"   https://host[:port]
//   QOV_UPDATE_PAGE     "dravik.update.page"     https://host/page
//   QOV_UPDATE_CA_FILE  "dravik.update.caFile"   PEM file
//
// Main thread (reads the user settings).

#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

namespace dravik_update {

QUrl manifestUrl();
QString serverHost();
QUrl makerPage();
QList<QSslCertificate> extraCaCertificates();

// An absolute HTTPS address with a host.
bool isHttps(const QUrl& url);

}  // namespace dravik_update
