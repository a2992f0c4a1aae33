#include "ScriptRunFixture.h"

#include <QDataStream>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

void ScriptRun::SetUp() { layout.addInstalled("ui", "qov_fixture_ui"); }

QString ScriptRun::path(const char* name) const {
    return QString::fromStdString((layout.root() / name).string());
}

void ScriptRun::write(const char* name, const char* text) const {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

HostRun runHost(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUORVANE_AUDIO"), QStringLiteral("null"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QOV_QUORVANE_BINARY), args);
    HostRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("timed out");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

HostRun ScriptRun::run(const QString& script, QStringList extra) const {
    return runHost(QStringList{QStringLiteral("--profile"), QString::fromStdString(layout.profile().string()),
                               QStringLiteral("--script"), script} +
                   extra);
}

QJsonObject ScriptRun::readDump(const char* name) const {
    QFile f(path(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

void writeTestWav(const QString& path, double seconds) {
    const quint32 rate = 44100, frames = quint32(rate * seconds), bytes = frames * 4;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + bytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(2) << rate << rate * 4 << quint16(4) << quint16(16);
    out.writeRawData("data", 4);
    out << bytes;
    // One period of the tone, written over and over: long files stay quick.
    QByteArray period;
    QDataStream one(&period, QIODevice::WriteOnly);
    one.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < 100; ++i) {
        const auto v = qint16(i < 50 ? -3000 : 3000);
        one << v << v;
    }
    for (quint32 i = 0; i < frames; i += 100)
        out.writeRawData(period.constData(), int(qMin(frames - i, 100u) * 4));
}

void ScriptRun::writeWav(const char* name, int seconds) const { writeTestWav(path(name), seconds); }
