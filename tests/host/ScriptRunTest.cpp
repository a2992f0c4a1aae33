// The host binary driven by --script, offscreen, with the real bundles and the
// window fixture installed in a throw-away profile.

#include "FixtureLayout.h"
#include "QtPrinters.h"
#include "TestWav.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QString err;
};

class ScriptRun : public ::testing::Test {
protected:
    void SetUp() override { layout.addInstalled("ui", "qov_fixture_ui"); }

    QString path(const char* name) const { return QString::fromStdString((layout.root() / name).string()); }

    void write(const char* name, const char* text) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    HostRun run(const QString& script, QStringList extra = {}) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QOV_QUORVANE_BINARY),
                QStringList{QStringLiteral("--profile"), QString::fromStdString(layout.profile().string()),
                            QStringLiteral("--script"), script} +
                    extra);
        HostRun r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            r.err = QStringLiteral("timed out");
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QJsonObject readDump(const char* name) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        return doc.object();
    }

    void writeWav(const char* name, int seconds) const { writeTestWav(path(name), seconds); }

    FixtureLayout layout;
};

TEST_F(ScriptRun, DrivesTheClassicWindowAndRecordsIt) {
    write("drive.qvs",
          "# the seekbar is real; the rest of classic may still be placeholders\n"
          "hover waveform-seekbar#0 300 20\n"
          "click waveform-seekbar 500 20\n"
          "menu Edit/alpha\n"
          "screenshot out/window.png\n"
          "screenshot out/seekbar.png waveform-seekbar\n"
          "dump out/state.json\n"
          "quit\n");
    const HostRun r = run(path("drive.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject state = readDump("out/state.json");
    const QJsonObject window = state[QStringLiteral("window")].toObject();
    EXPECT_EQ(window[QStringLiteral("layout")].toString(), QStringLiteral("classic"));
    EXPECT_EQ(window[QStringLiteral("title")].toString().isEmpty(), false);
    const QJsonArray elements = window[QStringLiteral("elements")].toArray();
    ASSERT_EQ(elements.size(), 5);
    const QJsonObject seekbar = elements[3].toObject();
    EXPECT_EQ(seekbar[QStringLiteral("name")].toString(), QStringLiteral("waveform-seekbar"));
    EXPECT_FALSE(seekbar[QStringLiteral("placeholder")].toBool());

    const QImage shot(path("out/window.png"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(),
              QSize(window[QStringLiteral("width")].toInt(), window[QStringLiteral("height")].toInt()));
    EXPECT_EQ(shot.size(), QSize(1000, 700));
    const QImage bar(path("out/seekbar.png"));
    EXPECT_EQ(bar.size(),
              QSize(seekbar[QStringLiteral("width")].toInt(), seekbar[QStringLiteral("height")].toInt()));

    QStringList console;
    for (const QJsonValue& v : state[QStringLiteral("console")].toArray()) console.append(v.toString());
    EXPECT_TRUE(console.contains(QStringLiteral("fixture ui: executed alpha")));
    EXPECT_TRUE(state[QStringLiteral("services")].toObject().contains(QStringLiteral("playback_control")));
}

TEST_F(ScriptRun, PlaysThroughThePlayersServicesAndDumpsTheirState) {
    writeWav("one.wav", 4);
    writeWav("two.wav", 3);
    write("play.qvs",
          "new-playlist \"Script Test\"\n"
          "add one.wav two.wav\n"
          "play 1\n"
          "wait-until position>=0.3\n"
          "seek 2\n"
          "wait-until position>=2.1\n"
          "pause\n"
          "wait-until paused 5\n"
          "volume -12\n"
          "dump out/paused.json\n"
          "resume\n"
          "stop\n"
          "wait-until stopped\n"
          "dump out/stopped.json\n"
          "quit\n");
    const HostRun r = run(path("play.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject paused = readDump("out/paused.json");
    const QJsonArray playlists = paused[QStringLiteral("playlists")].toArray();
    ASSERT_FALSE(playlists.isEmpty());
    const qsizetype active = paused[QStringLiteral("active_playlist")].toInt();
    const QJsonObject list = playlists[active].toObject();
    EXPECT_EQ(list[QStringLiteral("name")].toString(), QStringLiteral("Script Test"));
    EXPECT_EQ(list[QStringLiteral("items")].toArray(), (QJsonArray{path("one.wav"), path("two.wav")}));
    EXPECT_EQ(list[QStringLiteral("focus")].toInt(), 1);
    EXPECT_EQ(paused[QStringLiteral("playing")].toString(), path("two.wav"));
    EXPECT_TRUE(paused[QStringLiteral("paused")].toBool());
    EXPECT_GE(paused[QStringLiteral("position")].toDouble(), 2.1);
    EXPECT_LT(paused[QStringLiteral("position")].toDouble(), 3);
    EXPECT_DOUBLE_EQ(paused[QStringLiteral("volume")].toDouble(), -12);

    const QJsonObject stopped = readDump("out/stopped.json");
    EXPECT_TRUE(stopped[QStringLiteral("playing")].isNull());
    EXPECT_FALSE(stopped[QStringLiteral("is_playing")].toBool());

    // The next start finds the playlist as it was left.
    write("again.qvs", "dump out/again.json\nquit\n");
    ASSERT_EQ(run(path("again.qvs")).exitCode, 0);
    const QJsonObject again = readDump("out/again.json");
    const QJsonObject restored =
        again[QStringLiteral("playlists")].toArray()[again[QStringLiteral("active_playlist")].toInt()].toObject();
    EXPECT_EQ(restored[QStringLiteral("name")].toString(), QStringLiteral("Script Test"));
    EXPECT_EQ(restored[QStringLiteral("items")].toArray(), (QJsonArray{path("one.wav"), path("two.wav")}));
    EXPECT_EQ(restored[QStringLiteral("focus")].toInt(), 1);
    EXPECT_DOUBLE_EQ(again[QStringLiteral("volume")].toDouble(), -12);

    // What the player cannot give is an error of its line.
    write("bad-add.qvs", "add nothing-here.wav\n");
    HostRun bad = run(path("bad-add.qvs"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("line 1: add: no playable track in")))
        << bad.err.toStdString();
    write("bad-play.qvs", "new-playlist Empty\nplay 0\n");
    bad = run(path("bad-play.qvs"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("line 2: no item 0 in the active playlist (it has 0)")))
        << bad.err.toStdString();
    write("bad-order.qvs", "order Sideways\n");
    bad = run(path("bad-order.qvs"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("line 1: no playback order \"Sideways\" (there are Default")))
        << bad.err.toStdString();
}

TEST_F(ScriptRun, ElementsGoBeforeTheComponentsAreUnloaded) {
    write("mine.layout", "fixture-box\nwaveform-seekbar time=sides\n");
    write("quit.qvs", "quit\n");
    const HostRun r = run(path("quit.qvs"), {QStringLiteral("--layout"), path("mine.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto destroyed = r.err.indexOf(QStringLiteral("fixture ui: box destroyed"));
    const auto withdrawn = r.err.indexOf(QStringLiteral("fixture ui: withdrawn"));
    EXPECT_GE(destroyed, 0) << r.err.toStdString();
    EXPECT_GT(withdrawn, destroyed);
}

TEST_F(ScriptRun, ASyntaxErrorStopsTheScriptBeforeAnythingRuns) {
    write("bad.qvs", "dump out/never.json\njump 3\nseek\n");
    const HostRun r = run(path("bad.qvs"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("bad.qvs line 2: unknown command \"jump\"")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("bad.qvs line 3: seek: missing seconds")));
    EXPECT_FALSE(QFile::exists(path("out/never.json")));
}

TEST_F(ScriptRun, AFailingCommandEndsTheRunWithItsLine) {
    write("missing.qvs", "dump out/first.json\n\nclick classic-nothing#2 1 1\ndump out/never.json\n");
    HostRun r = run(path("missing.qvs"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.err.contains(QStringLiteral("missing.qvs line 3: no element classic-nothing#2 in the layout")))
        << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("out/first.json")));
    EXPECT_FALSE(QFile::exists(path("out/never.json")));

    write("outside.qvs", "click waveform-seekbar 5000 10\n");
    r = run(path("outside.qvs"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("line 1: 5000, 10 is outside waveform-seekbar#0")))
        << r.err.toStdString();

    write("menu.qvs", "menu Edit/Disabled\n");
    r = run(path("menu.qvs"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("line 1: menu item Edit/Disabled is disabled")))
        << r.err.toStdString();

    write("timeout.qvs", "stop\nwait-until playing 0.2\n");
    r = run(path("timeout.qvs"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("line 2: timed out after 0.2 s waiting for playing")))
        << r.err.toStdString();
}

TEST_F(ScriptRun, AScriptThatEndsWithoutQuitEndsTheHostWhenThereIsNoDisplay) {
    write("short.qvs", "wait 0.1\nprefs Waveform Seekbar\nscreenshot out/prefs.png preferences\n");
    const HostRun r = run(path("short.qvs"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(QImage(path("out/prefs.png")).isNull());
}

TEST_F(ScriptRun, AContextMenuRunsWhileTheScriptGoesOnInsideIt) {
    write("menu.layout", "fixture-box menu=yes\n");
    write("context.qvs",
          "click fixture-box 10 10 right\n"
          "key down\n"
          "key return\n"
          "dump out/after.json\n"
          "quit\n");
    const HostRun r = run(path("context.qvs"), {QStringLiteral("--layout"), path("menu.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList console;
    for (const QJsonValue& v : readDump("out/after.json")[QStringLiteral("console")].toArray())
        console.append(v.toString());
    EXPECT_TRUE(console.contains(QStringLiteral("fixture ui: context item chosen"))) << r.err.toStdString();
}

TEST_F(ScriptRun, KeysReachTheMenuShortcuts) {
    // cmd+q is the Quit item's shortcut: the rest never runs.
    write("keys.qvs", "key cmd+q\nwait 20\ndump out/never.json\n");
    const HostRun r = run(path("keys.qvs"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out/never.json")));
}

TEST_F(ScriptRun, AnUnknownLayoutStopsTheStart) {
    write("quit.qvs", "quit\n");
    const HostRun r = run(path("quit.qvs"), {QStringLiteral("--layout"), QStringLiteral("nope")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no built-in layout and no readable file named \"nope\"")));
}

}  // namespace

namespace {

TEST_F(ScriptRun, TheSeekbarSeeksWhereTheDragIsReleased) {
    writeWav("ten.wav", 10);
    write("bar.layout", "waveform-seekbar time=sides\n");
    write("seek.qvs",
          "new-playlist Seek\n"
          "add ten.wav\n"
          "play 0\n"
          "wait-until position>=0.2\n"
          "hover waveform-seekbar 300 20\n"
          "drag waveform-seekbar 100 20 500 20\n"
          "wait 0.1\n"
          "dump out/seeked.json\n"
          "quit\n");
    const HostRun r = run(path("seek.qvs"), {QStringLiteral("--layout"), path("bar.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject dump = readDump("out/seeked.json");
    const QJsonObject bar = dump[QStringLiteral("window")][QStringLiteral("elements")].toArray()[0].toObject();
    ASSERT_EQ(bar[QStringLiteral("name")].toString(), QStringLiteral("waveform-seekbar"));
    ASSERT_FALSE(bar[QStringLiteral("placeholder")].toBool());
    // Side times leave 54 points at each end of the wave.
    const double waveWidth = bar[QStringLiteral("width")].toDouble() - 108;
    const double released = (500 - 54) / waveWidth * 10;
    const double position = dump[QStringLiteral("position")].toDouble();
    EXPECT_GE(position, released - 0.05);
    EXPECT_LT(position, released + 1.0);
}

}  // namespace
