#include "Console.h"
#include "ConsoleWindow.h"
#include "FixtureLayout.h"
#include "ScriptRunFixture.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

QString profileArg(const FixtureLayout& layout) {
    return QString::fromStdString(layout.profile().string());
}

TEST(HostBinary, ListComponentsPrintsEveryBoundBundleAndReportsBrokenOnes) {
    FixtureLayout layout;
    layout.addInstalled(FixtureLayout::kGood, "qov_fixture_cli");
    const auto broken = layout.addInstalled(FixtureLayout::kOldClient, "qov_fixture_old");

    const HostRun r = runHost(
        {QStringLiteral("--list-components"), QStringLiteral("--profile"), profileArg(layout)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    QString line;
    for (const QString& l : r.out.split(u'\n'))
        if (l.startsWith(QStringLiteral("qov_fixture_cli.so\t"))) line = l;
    ASSERT_FALSE(line.isEmpty()) << r.out.toStdString();
    const QStringList fields = line.split(u'\t');
    ASSERT_EQ(fields.size(), 4) << line.toStdString();
    EXPECT_EQ(fields[1], QStringLiteral("Fixture"));
    EXPECT_EQ(fields[2], QStringLiteral("1.0"));
    const QStringList interfaces = fields[3].split(QStringLiteral(", "));
    EXPECT_TRUE(interfaces.contains(QStringLiteral("componentversion")));
    EXPECT_TRUE(interfaces.contains(QStringLiteral("initquit")));
    // The probe interface is unknown to the host: its GUID stands in.
    EXPECT_TRUE(interfaces.contains(QStringLiteral("51C2A0E7-3B9D-4E61-9F0A-6D2E84B173C5")));

    EXPECT_FALSE(r.out.contains(QStringLiteral("qov_fixture_old")));
    const QString failure =
        QStringLiteral("quorvane: Failed to load component %1: client version 80")
            .arg(QString::fromStdString(broken.string()));
    EXPECT_TRUE(r.err.contains(failure)) << r.err.toStdString();
    // Listing is not a start-up: no hooks.
    EXPECT_FALSE(r.err.contains(QStringLiteral("on_init")));
}

TEST(HostBinary, ListsTheThreeBundlesWithTheirVersions) {
    FixtureLayout layout;
    const HostRun r = runHost(
        {QStringLiteral("--list-components"), QStringLiteral("--profile"), profileArg(layout)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char* expected : {"qov_classic_ui.so\tClassic UI\t0.18\t", "qov_ovix_ui.so\tOVIX UI\t0.6\t",
                                 "qov_wave_seekbar.so\tWaveform Seekbar\t0.8\t"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(expected))) << expected << "\n" << r.out.toStdString();
}

TEST(HostBinary, ScreenshotRunsTheWholeLifeCycleAndWritesTheWindow) {
    FixtureLayout layout;
    layout.addInstalled(FixtureLayout::kGood, "qov_fixture_shot");
    const QString shot = QString::fromStdString((layout.root() / "shot.png").string());

    const HostRun r = runHost(
        {QStringLiteral("--screenshot"), shot, QStringLiteral("--profile"), profileArg(layout)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image(shot);
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 100);
    const auto init =
        r.err.indexOf(QStringLiteral("fixture qov_fixture_shot: on_init initializing=1"));
    const auto quit =
        r.err.indexOf(QStringLiteral("fixture qov_fixture_shot: on_quit shutting_down=1"));
    const auto gone = r.err.indexOf(QStringLiteral("fixture qov_fixture_shot: withdrawn"));
    EXPECT_GE(init, 0) << r.err.toStdString();
    EXPECT_GT(quit, init);
    EXPECT_GT(gone, quit);
}

TEST(HostBinary, ScreenshotThatCannotBeWrittenFails) {
    FixtureLayout layout;
    const QString shot = QString::fromStdString((layout.root() / "missing" / "shot.png").string());
    const HostRun r = runHost(
        {QStringLiteral("--screenshot"), shot, QStringLiteral("--profile"), profileArg(layout)});
    EXPECT_NE(r.exitCode, 0);
}

TEST(ConsoleWindow, ShowsBacklogAndLinesPrintedFromOtherThreads) {
    Console console(100, false);
    console.print("before");
    auto window = std::make_unique<ConsoleWindow>(console);
    EXPECT_EQ(window->text(), QStringLiteral("before"));

    std::thread([&] { console.print("from a worker"); }).join();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window->text().contains(QStringLiteral("from a worker")); }, 5000));

    // Closing the window while lines keep coming must be harmless.
    std::atomic<bool> stop{false};
    std::thread printer([&] {
        while (!stop) console.print("tick");
    });
    QTest::qWait(20);
    window.reset();
    QTest::qWait(20);
    stop = true;
    printer.join();
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    // Test discovery runs the binary outside CTest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
