#include "UpdateEndpoints.h"

#include <QSettings>

namespace dravik_update {

namespace {

// Placeholders in a reserved domain: nothing is asked of anyone's server until
// the maker's own is configured.
const char* const kDefaultServer = "https://updates.dravik.example";
const char* const kDefaultPage = "https://dravik.example/quorvane";

QString configured(const char* variable, const char* settingKey) {
    const QString env = qEnvironmentVariable(variable);
    if (!env.isEmpty()) return env;
    return QSettings().value(QLatin1String(settingKey)).toString();
}

QUrl httpsOr(const QString& text, const char* fallback) {
    const QUrl url(text, QUrl::StrictMode);
    return isHttps(url) ? url : QUrl(QLatin1String(fallback));
}

QUrl server() { return httpsOr(configured("QOV_UPDATE_SERVER", "dravik.update.server"), kDefaultServer); }

}  // namespace

bool isHttps(const QUrl& url) { return url.isValid() && url.scheme() == u"https" && !url.host().isEmpty(); }

QUrl manifestUrl() {
    QUrl url = server();
    url.setPath(QStringLiteral("/quorv/updates.json"));
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

QString serverHost() { return server().host(); }

QUrl makerPage() { return httpsOr(configured("QOV_UPDATE_PAGE", "dravik.update.page"), kDefaultPage); }

QList<QSslCertificate> extraCaCertificates() {
    const QString file = configured("QOV_UPDATE_CA_FILE", "dravik.update.caFile");
    if (file.isEmpty()) return {};
    return QSslCertificate::fromPath(file, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
}

}  // namespace dravik_update
