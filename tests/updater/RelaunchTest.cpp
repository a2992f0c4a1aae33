#include "Relaunch.h"

#include "TestApplication.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using dravik_update::startAfterExit;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Relaunch, TheCommandRunsOnceTheProcessHasEndedWithPathsTakenLiterally) {
    testApplication();
    QTemporaryDir dir;
    // Every character a shell would act on, in the folder and in the arguments.
    const QString folder = dir.filePath(QStringLiteral("it's \"$HOME\" `touch pwned` $(touch pwned2); done"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/quorvane $1");
    const QString out = dir.filePath(QStringLiteral("arguments"));
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$QOV_RELAUNCH_OUT\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("QOV_RELAUNCH_OUT", QFile::encodeName(out));

    QProcess host;
    host.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(host.waitForStarted());
    const QStringList arguments{QStringLiteral("--profile"), folder, QStringLiteral("$(touch pwned3)"),
                                QStringLiteral("a;b"), QString()};
    ASSERT_TRUE(startAfterExit(host.processId(), program, arguments));

    // Still waiting while the process lives.
    QTest::qWait(1000);
    EXPECT_FALSE(QFile::exists(out));
    host.kill();
    host.waitForFinished();

    const QString expected = arguments.join(u'\n') + u'\n';
    EXPECT_TRUE(QTest::qWaitFor([&] { return QString::fromUtf8(readAll(out)) == expected; }, 20000));
    EXPECT_EQ(QString::fromUtf8(readAll(out)), expected);
    for (const char* name : {"pwned", "pwned2", "pwned3"}) {
        EXPECT_FALSE(QFile::exists(QDir::current().filePath(QLatin1String(name)))) << name;
        EXPECT_FALSE(QFile::exists(dir.filePath(QLatin1String(name)))) << name;
    }
    qunsetenv("QOV_RELAUNCH_OUT");
}
