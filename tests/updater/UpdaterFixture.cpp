#include "UpdaterFixture.h"

#include "UpdateOffer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QJsonDocument>
#include <QSettings>
#include <QTest>

#include "ZipWriter.h"

UpdaterTest::UpdaterTest() {
    QCoreApplication::setOrganizationName(QStringLiteral("qov-tests"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       m_dir.filePath(QStringLiteral("settings")));
    QSettings().clear();
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    qputenv("TMPDIR", QFile::encodeName(m_dir.filePath(QStringLiteral("tmp"))));
    qputenv("QOV_UPDATE_SERVER", m_server.base().toEncoded());
    qputenv("QOV_UPDATE_CA_FILE", QFile::encodeName(HttpsServer::caFile()));
    qputenv("QOV_UPDATE_PAGE", "https://maker.test/plugins");
    m_bound.host.profileUrl = "file://" + profile().string();

    platform::Alert::setResponder([this](const platform::Alert& alert) {
        m_alerts.push_back({alert.messageText(), alert.informativeText(), alert.buttons()});
        int button = alert.buttons().size() > 1 ? 2 : 1;
        if (!m_answers.empty()) {
            button = m_answers.front();
            m_answers.pop_front();
        }
        return platform::Alert::kFirstButton + button - 1;
    });
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_pages, "open");
}

UpdaterTest::~UpdaterTest() {
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    platform::Alert::setResponder(nullptr);
    for (const char* name : {"TMPDIR", "QOV_UPDATE_SERVER", "QOV_UPDATE_CA_FILE", "QOV_UPDATE_PAGE"})
        qunsetenv(name);
}

bool UpdaterTest::waitFor(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

bool UpdaterTest::waitForAlerts(size_t n, int ms) {
    return waitFor([&] { return m_alerts.size() >= n; }, ms);
}

std::filesystem::path UpdaterTest::profile() const {
    return std::filesystem::path(m_dir.filePath(QStringLiteral("profile")).toStdString());
}

std::filesystem::path UpdaterTest::installed(const std::string& name) const {
    return profile() / "user-components" / name / (name + ".component");
}

std::filesystem::path UpdaterTest::backup(const std::string& name) const {
    return profile() / "user-components-backup" / (name + ".component");
}

QStringList UpdaterTest::temporaryLeftovers() const {
    return QDir(m_dir.filePath(QStringLiteral("tmp")))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

QByteArray UpdaterTest::package(const QByteArray& name, const QByteArray& library) {
    return makeZip(bundleItems(name, library));
}

QJsonObject UpdaterTest::entryFor(const QString& version, const QString& path,
                                  const QByteArray& package) const {
    return {{"version", version},
            {"file", m_server.url(path).toString()},
            {"sha256", dravik_update::sha256Hex(package)},
            {"notes", "Fixes."}};
}

void UpdaterTest::serveManifest(const QJsonObject& manifest) {
    m_server.serve(QStringLiteral("/quorv/updates.json"), QJsonDocument(manifest).toJson());
}
