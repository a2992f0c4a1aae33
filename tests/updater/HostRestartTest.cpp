// The whole road in the real host: the seekbar's daily check finds a newer
// version on the loopback server, the offer and the restart offer are
// answered by the automation, the package is installed into the profile, and
// the host restarts itself and loads the new bundle.

#include "HttpsServer.h"
#include "TestApplication.h"
#include "ZipWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <signal.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A process (or the shell about to become one) started with `--profile profile`.
qint64 findHost(const QString& profile) {
    const QByteArray wanted = QByteArray("--profile") + '\0' + QFile::encodeName(profile) + '\0';
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && readAll(QStringLiteral("/proc/%1/cmdline").arg(pid)).contains(wanted)) return pid;
    }
    return 0;
}

bool alive(qint64 pid) { return ::kill(pid_t(pid), 0) == 0; }

}  // namespace

TEST(HostRestart, AnUpdateInstalledByTheSeekbarIsLoadedAfterTheRestart) {
    testApplication();
    HttpsServer server;
    ASSERT_TRUE(server.error().isEmpty()) << server.error().toStdString();
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("profile"));
    const QString script = dir.filePath(QStringLiteral("restart.script"));
    ASSERT_TRUE(QDir().mkpath(profile));

    const QByteArray zip =
        makeZip(bundleItems("qov_wave_seekbar", readAll(QStringLiteral(QOV_NEXT_SEEKBAR))));
    server.serve(QStringLiteral("/seekbar-0.9.zip"), zip);
    const QJsonObject entry{
        {"version", "0.9"},
        {"file", server.url(QStringLiteral("/seekbar-0.9.zip")).toString()},
        {"sha256", QString::fromLatin1(QCryptographicHash::hash(zip, QCryptographicHash::Sha256).toHex())}};
    server.serve(QStringLiteral("/quorv/updates.json"),
                 QJsonDocument(QJsonObject{{"qov_wave_seekbar", entry}}).toJson());
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Both hosts run it: the first is restarted long before its wait ends.
        f.write("answer-alerts 1\nwait 20\nquit\n");
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUORVANE_AUDIO"), QStringLiteral("null"));
    env.insert(QStringLiteral("QOV_UPDATE_SERVER"), server.base().toString());
    env.insert(QStringLiteral("QOV_UPDATE_CA_FILE"), HttpsServer::caFile());
    for (const char* xdg : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        env.insert(QLatin1String(xdg), dir.filePath(QStringLiteral("home")));

    QProcess first;
    first.setProcessEnvironment(env);
    // Files, not pipes: the restarted host inherits them and outlives this process object.
    const QString log = dir.filePath(QStringLiteral("host.log"));
    first.setStandardOutputFile(log);
    first.setStandardErrorFile(log, QIODevice::Append);
    first.start(QStringLiteral(QOV_QUORVANE_BINARY),
                {QStringLiteral("--profile"), profile, QStringLiteral("--script"), script});
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.state() == QProcess::NotRunning; }, 120000));
    EXPECT_EQ(first.exitCode(), 0) << readAll(log).constData();
    // Each of the three bundles asks for its own entry; only the seekbar has one.
    EXPECT_EQ(server.requests().count(QStringLiteral("/quorv/updates.json")), 3);
    EXPECT_EQ(server.requests().count(QStringLiteral("/seekbar-0.9.zip")), 1);
    ASSERT_TRUE(QFile::exists(
        profile + "/user-components/qov_wave_seekbar/qov_wave_seekbar.component/qov_wave_seekbar.so"))
        << readAll(log).constData();

    qint64 restarted = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (restarted = findHost(profile)) != 0; }, 30000))
        << "no restarted host\n"
        << readAll(log).constData();
    bool becameTheHost = false;
    const bool ended = QTest::qWaitFor(
        [&] {
            becameTheHost |= QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(restarted)) ==
                             QFileInfo(QStringLiteral(QOV_QUORVANE_BINARY)).canonicalFilePath();
            return !alive(restarted);
        },
        120000);
    if (!ended) ::kill(pid_t(restarted), SIGKILL);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(becameTheHost);

    QProcess listing;
    listing.setProcessEnvironment(env);
    listing.start(QStringLiteral(QOV_QUORVANE_BINARY),
                  {QStringLiteral("--list-components"), QStringLiteral("--profile"), profile});
    ASSERT_TRUE(listing.waitForFinished(60000));
    const QString listed = QString::fromUtf8(listing.readAllStandardOutput());
    EXPECT_TRUE(listed.contains(QStringLiteral("qov_wave_seekbar.so\tWaveform Seekbar\t0.9\t")))
        << listed.toStdString();
}
