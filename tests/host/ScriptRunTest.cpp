// The host binary driven by --script, offscreen, with the real bundles and the
// window fixture installed in a throw-away profile.

#include "ConfigStore.h"
#include "Console.h"
#include "FixtureLayout.h"
#include "QtPrinters.h"
#include "ScriptRunFixture.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

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
    const QJsonObject restored = again[QStringLiteral("playlists")]
                                     .toArray()[again[QStringLiteral("active_playlist")].toInt()]
                                     .toObject();
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

TEST_F(ScriptRun, QuitsCleanlyWithWorkAndAScanStillPending) {
    layout.addInstalled("lifetime", "qov_fixture_lifetime");
    writeWav("long.wav", 600);  // its scan is far from done at quit
    write("bar.layout", "waveform-seekbar\n");
    write("quit.qvs",
          "new-playlist Long\n"
          "add long.wav\n"
          "play 0\n"
          "wait-until position>=0.05 30\n"
          "quit\n");
    const HostRun r = run(path("quit.qvs"), {QStringLiteral("--layout"), path("bar.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const auto released = [&](const char* work) {
        return r.err.indexOf(QStringLiteral("fixture lifetime: released %1\n").arg(QLatin1String(work)));
    };
    for (const char* work : {"delayed guarded", "delayed", "delayed app-guarded", "posted",
                             "posted app-guarded", "posted by worker", "callback by worker", "deleted later"})
        EXPECT_GE(released(work), 0) << work << "\n" << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("fixture lifetime: ran "))) << r.err.toStdString();
    // Its guard's death released it; the rest waited for the unload.
    EXPECT_LT(released("delayed guarded"), released("delayed"));
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

TEST_F(ScriptRun, TheEditMenuAndItsShortcutsActOnTheFocusedElement) {
    writeWav("one.wav", 1);
    writeWav("two.wav", 1);
    write("edit.layout", "fixture-edit\n");
    write("edit.qvs",
          "new-playlist Edit\n"
          "add one.wav two.wav\n"
          "click fixture-edit 10 10\n"
          "dump out/none.json\n"
          "menu Edit/Select All\n"
          "dump out/all.json\n"
          "key forward-delete\n"
          "dump out/removed.json\n"
          "key cmd+z\n"
          "dump out/restored.json\n"
          "quit\n");
    const HostRun r = run(path("edit.qvs"), {QStringLiteral("--layout"), path("edit.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const auto active = [this](const char* dump) {
        const QJsonObject state = readDump(dump);
        return state[QStringLiteral("playlists")]
            .toArray()[state[QStringLiteral("active_playlist")].toInt()]
            .toObject();
    };
    const QJsonArray both{path("one.wav"), path("two.wav")};
    EXPECT_EQ(active("out/none.json")[QStringLiteral("selection")].toArray(), QJsonArray());
    EXPECT_EQ(active("out/all.json")[QStringLiteral("selection")].toArray(), (QJsonArray{0, 1}));
    EXPECT_EQ(active("out/removed.json")[QStringLiteral("items")].toArray(), QJsonArray());
    EXPECT_EQ(active("out/restored.json")[QStringLiteral("items")].toArray(), both);

    // With nothing to undo the element disables the item.
    write("undo.qvs", "new-playlist Fresh\nclick fixture-edit 10 10\nmenu Edit/Undo\n");
    const HostRun refused = run(path("undo.qvs"), {QStringLiteral("--layout"), path("edit.layout")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("line 3: menu item Edit/Undo is disabled")))
        << refused.err.toStdString();
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
          "drag waveform-seekbar 100 20 800 20\n"
          "wait 0.1\n"
          "dump out/seeked.json\n"
          "quit\n");
    const HostRun r = run(path("seek.qvs"), {QStringLiteral("--layout"), path("bar.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject dump = readDump("out/seeked.json");
    const QJsonObject bar =
        dump[QStringLiteral("window")][QStringLiteral("elements")].toArray()[0].toObject();
    ASSERT_EQ(bar[QStringLiteral("name")].toString(), QStringLiteral("waveform-seekbar"));
    ASSERT_FALSE(bar[QStringLiteral("placeholder")].toBool());
    // Side times leave 54 points at each end of the wave; released off the
    // middle, where they change the time.
    const double width = bar[QStringLiteral("width")].toDouble();
    ASSERT_GT(std::abs(800 - width / 2), 100) << width;
    const double released = (800 - 54) / (width - 108) * 10;
    const double position = dump[QStringLiteral("position")].toDouble();
    EXPECT_GE(position, released - 0.05);
    EXPECT_LT(position, released + 1.0);
}

}  // namespace

namespace {

QStringList consoleOf(const QJsonObject& dump) {
    QStringList lines;
    for (const QJsonValue& v : dump[QStringLiteral("console")].toArray()) lines.append(v.toString());
    return lines;
}

TEST_F(ScriptRun, PlayingMeansSeekableAndTheSeekbarSaysWhereItIs) {
    writeWav("ten.wav", 10);
    write("bar.layout", "waveform-seekbar\n");
    // Each seek comes straight after the wait: the track must answer it. A
    // track started anew is not playing until its decoder has opened it.
    write("seek.qvs",
          "new-playlist Seek\n"
          "add ten.wav\n"
          "play 0\n"
          "wait-until playing\n"
          "seek 7\n"
          "play 0\n"
          "wait-until playing\n"
          "seek 6\n"
          "play 0\n"
          "wait-until playing\n"
          "seek 5\n"
          "wait-until position>=5.2\n"
          "wait 0.1\n"
          "dump out/seeked.json\n"
          "quit\n");
    const HostRun r = run(path("seek.qvs"), {QStringLiteral("--layout"), path("bar.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject bar = readDump("out/seeked.json")[QStringLiteral("window")][QStringLiteral("elements")]
                                .toArray()[0]
                                .toObject()[QStringLiteral("accessible")]
                                .toObject();
    EXPECT_EQ(bar[QStringLiteral("role")].toString(), QStringLiteral("Slider"));
    EXPECT_EQ(bar[QStringLiteral("name")].toString(), QStringLiteral("Waveform Seekbar"));
    EXPECT_DOUBLE_EQ(bar[QStringLiteral("maximum")].toDouble(), 10);
    EXPECT_GE(bar[QStringLiteral("current")].toDouble(), 5);
    EXPECT_LT(bar[QStringLiteral("current")].toDouble(), 9);
    EXPECT_TRUE(bar[QStringLiteral("value")].toString().endsWith(QStringLiteral(" of 0:10")))
        << bar[QStringLiteral("value")].toString().toStdString();
}

TEST_F(ScriptRun, PointerCommandsFindAccessibleChildrenByName) {
    write("cells.layout", "fixture-cells\n");
    write("cells.qvs",
          "hover fixture-cells@Gamma\n"
          "click fixture-cells#0@Beta\n"
          "drag fixture-cells@Alpha @Gamma\n"
          "answer-alerts 2\n"
          "click fixture-cells@Alpha double\n"
          "wait 0.2\n"
          "dump out/cells.json\n"
          "quit\n");
    HostRun r = run(path("cells.qvs"), {QStringLiteral("--layout"), path("cells.layout")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject dump = readDump("out/cells.json");
    const QStringList said = consoleOf(dump).filter(QStringLiteral("fixture ui: cells"));
    const auto at = [&said](const char* line) {
        return said.indexOf(QStringLiteral("fixture ui: cells ") + line);
    };
    EXPECT_GE(at("hover 3 Gamma"), 0) << said.join(u'\n').toStdString();
    // The first of the two cells named Beta.
    EXPECT_GT(at("press 1 Beta"), at("hover 3 Gamma"));
    EXPECT_GT(at("release 1 Beta"), at("press 1 Beta"));
    EXPECT_GT(at("press 0 Alpha"), at("release 1 Beta"));
    EXPECT_GT(at("release 3 Gamma"), at("press 0 Alpha"));
    EXPECT_GE(at("answer 1001"), 0) << said.join(u'\n').toStdString();

    // What the dump shows is what the pointer commands found.
    const QJsonObject tree = dump[QStringLiteral("window")][QStringLiteral("elements")]
                                 .toArray()[0]
                                 .toObject()[QStringLiteral("accessible")]
                                 .toObject();
    EXPECT_EQ(tree[QStringLiteral("role")].toString(), QStringLiteral("List"));
    const QJsonArray cells = tree[QStringLiteral("children")].toArray();
    ASSERT_EQ(cells.size(), 4);
    QStringList names;
    for (const QJsonValue& c : cells) names.append(c[QStringLiteral("name")].toString());
    EXPECT_EQ(names, (QStringList{"Alpha", "Beta", "Beta", "Gamma"}));
    EXPECT_EQ(cells[0][QStringLiteral("states")].toArray(), QJsonArray{"selected"});
    EXPECT_EQ(cells[1][QStringLiteral("states")].toArray(), QJsonArray{"checked"});
    EXPECT_EQ(cells[3][QStringLiteral("x")].toDouble(), 240);
    EXPECT_EQ(cells[3][QStringLiteral("width")].toDouble(), 80);

    write("missing.qvs", "click fixture-cells@Delta\n");
    r = run(path("missing.qvs"), {QStringLiteral("--layout"), path("cells.layout")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral(
        "line 1: fixture-cells#0 has no accessible child named \"Delta\" (it has Alpha, Beta, Beta, Gamma)")))
        << r.err.toStdString();
}

TEST_F(ScriptRun, AnAlertWithoutTheChosenButtonStopsTheScript) {
    write("cells.layout", "fixture-cells\n");
    write("alert.qvs",
          "answer-alerts 3\n"
          "click fixture-cells@Gamma double\n"
          "wait 5\n"
          "dump out/never.json\n");
    const HostRun r = run(path("alert.qvs"), {QStringLiteral("--layout"), path("cells.layout")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral(
        "line 2: alert \"Open Gamma?\" has 2 button(s); answer-alerts 3 on line 1 chose none")))
        << r.err.toStdString();
    // Closed as by code, not with a button the alert does not have.
    EXPECT_TRUE(r.err.contains(QStringLiteral("fixture ui: cells answer -1001"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out/never.json")));
}

TEST_F(ScriptRun, NamesTakeTheRestOfTheLine) {
    write("names.qvs",
          "new-playlist Road Trip\n"
          "order Shuffle (tracks)\n"
          "dump out/names.json\n"
          "quit\n");
    const HostRun r = run(path("names.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject dump = readDump("out/names.json");
    EXPECT_EQ(dump[QStringLiteral("playback_order")].toString(), QStringLiteral("Shuffle (tracks)"));
    const QJsonObject active = dump[QStringLiteral("playlists")]
                                   .toArray()[dump[QStringLiteral("active_playlist")].toInt()]
                                   .toObject();
    EXPECT_EQ(active[QStringLiteral("name")].toString(), QStringLiteral("Road Trip"));
}

}  // namespace

// The Classic elements, driven as a user would.
namespace {

QJsonObject element(const QJsonObject& dump, const char* name) {
    for (const QJsonValue& e : dump[QStringLiteral("window")][QStringLiteral("elements")].toArray())
        if (e[QStringLiteral("name")].toString() == QLatin1String(name)) return e.toObject();
    return {};
}

// Each playlist's name and item paths, in order.
QStringList playlistsOf(const QJsonObject& dump) {
    QStringList out;
    for (const QJsonValue& p : dump[QStringLiteral("playlists")].toArray()) {
        QStringList items;
        for (const QJsonValue& i : p[QStringLiteral("items")].toArray())
            items.append(QFileInfo(i.toString()).fileName());
        out.append(p[QStringLiteral("name")].toString() + u':' + items.join(u','));
    }
    return out;
}

TEST_F(ScriptRun, ALockedPlaylistIsLockedAgainAfterARestart) {
    writeWav("one.wav", 1);
    writeWav("two.wav", 1);
    // The tab menu: New Playlist, Rename, Remove, Lock Playlist.
    write("lock.qvs",
          "new-playlist Kept\n"
          "add one.wav\n"
          "new-playlist Other\n"
          "wait 0.5\n"
          "click classic-tabs@Kept right\n"
          "key down\nkey down\nkey down\nkey down\nkey return\n"
          "wait 0.5\n"
          "dump out/locked.json\n"
          "quit\n");
    HostRun r = run(path("lock.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject locked = readDump("out/locked.json");
    EXPECT_TRUE(locked[QStringLiteral("playlists")][0][QStringLiteral("locked")].toBool());

    // Next start: the lock is back; dropped files are refused, renaming is not.
    write("again.qvs",
          "wait 0.5\n"
          "drop classic-tabs@Kept two.wav\n"
          "wait 1\n"
          "answer-alerts 1 Still Kept\n"
          "click classic-tabs@Kept double\n"
          "wait 0.5\n"
          "dump out/again.json\n"
          "quit\n");
    r = run(path("again.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject again = readDump("out/again.json");
    EXPECT_EQ(playlistsOf(again), (QStringList{"Still Kept:one.wav", "Other:"}));
    EXPECT_TRUE(again[QStringLiteral("playlists")][0][QStringLiteral("locked")].toBool());
    const QJsonObject tab =
        element(again, "classic-tabs")[QStringLiteral("accessible")][QStringLiteral("children")][0]
            .toObject();
    EXPECT_EQ(tab[QStringLiteral("name")].toString(), QStringLiteral("Still Kept"));
    EXPECT_EQ(tab[QStringLiteral("children")][0][QStringLiteral("name")].toString(),
              QStringLiteral("Locked"));
}

TEST_F(ScriptRun, TabsCloseRestoreReorderAndTakeDroppedFiles) {
    writeWav("one.wav", 1);
    writeWav("two.wav", 1);
    write("tabs.qvs",
          "new-playlist A\n"
          "add one.wav\n"
          "new-playlist B\n"
          "new-playlist C\n"
          "wait 0.5\n"
          "key cmd+opt+w\n"
          "activate 0\n"
          "key cmd+opt+w\n"
          "dump out/closed.json\n"
          "key cmd+shift+t\n"
          "key cmd+shift+t\n"
          "wait 0.5\n"
          "dump out/restored.json\n"
          "drag classic-tabs@B @C\n"
          "wait 0.5\n"
          "dump out/dragged.json\n"
          "drop classic-tabs 900 12 one.wav two.wav\n"
          "wait 1\n"
          "dump out/dropped.json\n"
          "quit\n");
    const HostRun r = run(path("tabs.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(playlistsOf(readDump("out/closed.json")), QStringList{"B:"});
    // The most recently closed comes back first.
    const QJsonObject restored = readDump("out/restored.json");
    EXPECT_EQ(playlistsOf(restored), (QStringList{"B:", "A:one.wav", "C:"}));
    EXPECT_EQ(restored[QStringLiteral("active_playlist")].toInt(), 2);
    EXPECT_EQ(playlistsOf(readDump("out/dragged.json")), (QStringList{"A:one.wav", "C:", "B:"}));
    const QJsonObject dropped = readDump("out/dropped.json");
    EXPECT_EQ(playlistsOf(dropped).last(), QStringLiteral("New Playlist:one.wav,two.wav"));
    EXPECT_EQ(dropped[QStringLiteral("active_playlist")].toInt(), 3);
}

TEST_F(ScriptRun, LibrarySearchResultsGoToANewPlaylist) {
    QDir().mkpath(path("library"));
    writeWav("library/alpha-tone.wav", 1);
    writeWav("library/beta-tone.wav", 1);
    writeWav("library/other.wav", 1);
    // Tab past the table to "Send to New Playlist".
    write("search.qvs",
          "wait 2\n"
          "menu Library/Search Library...\n"
          "wait 0.5\n"
          "type tone\n"
          "key tab\nkey tab\nkey space\n"
          "wait 0.5\n"
          "screenshot out/search.png window Search Library\n"
          "dump out/search.json\n"
          "quit\n");
    const HostRun r = run(path("search.qvs"), {QStringLiteral("--library"), path("library")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject dump = readDump("out/search.json");
    EXPECT_EQ(playlistsOf(dump), QStringList{"tone:alpha-tone.wav,beta-tone.wav"});
    EXPECT_EQ(QImage(path("out/search.png")).size(), QSize(820, 520));
}

TEST_F(ScriptRun, LibraryResultsAndRowsAreDraggedOntoTabsAndIntoThePlaylist) {
    QDir().mkpath(path("library"));
    writeWav("library/alpha-tone.wav", 1);
    writeWav("library/beta-tone.wav", 1);
    for (const char* name : {"one.wav", "two.wav", "three.wav"}) writeWav(name, 1);
    // The library window is a window of its own; the last drag holds over tab
    // B until it opens, then drops on B's rows.
    write("drags.qvs",
          "wait 2\n"
          "new-playlist A\n"
          "add one.wav two.wav\n"
          "new-playlist B\n"
          "add three.wav\n"
          "new-playlist C\n"
          "activate 0\n"
          "wait 0.5\n"
          "menu Library/Search Library...\n"
          "wait 0.5\n"
          "type tone\n"
          "click window \"Search Library\"@beta-tone\n"
          "drag window \"Search Library\"@beta-tone classic-tabs@C\n"
          "click window \"Search Library\"@alpha-tone\n"
          "drag window \"Search Library\"@alpha-tone classic-playlist@two\n"
          "dump out/library.json\n"
          "click classic-playlist@one\n"
          "drag classic-playlist@one classic-tabs@B hold 1 classic-playlist@three\n"
          "dump out/sprung.json\n"
          "quit\n");
    const HostRun r = run(path("drags.qvs"), {QStringLiteral("--library"), path("library")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("without a drop"))) << r.err.toStdString();

    // On a tab: appended there, the tab not opened. On the playlist: before
    // the row dropped on, selected.
    const QJsonObject library = readDump("out/library.json");
    EXPECT_EQ(playlistsOf(library),
              (QStringList{"A:one.wav,alpha-tone.wav,two.wav", "B:three.wav", "C:beta-tone.wav"}));
    EXPECT_EQ(library[QStringLiteral("active_playlist")].toInt(), 0);
    EXPECT_EQ(library[QStringLiteral("playlists")][0][QStringLiteral("selection")].toArray(), QJsonArray{1});

    // Rows held over a tab open it, and land where they are dropped in it; the
    // source keeps them.
    const QJsonObject sprung = readDump("out/sprung.json");
    EXPECT_EQ(playlistsOf(sprung),
              (QStringList{"A:one.wav,alpha-tone.wav,two.wav", "B:one.wav,three.wav", "C:beta-tone.wav"}));
    EXPECT_EQ(sprung[QStringLiteral("active_playlist")].toInt(), 1);
    const QJsonArray tabs =
        element(sprung, "classic-tabs")[QStringLiteral("accessible")][QStringLiteral("children")].toArray();
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_EQ(tabs[1][QStringLiteral("states")].toArray(), QJsonArray{QStringLiteral("selected")});
}

TEST_F(ScriptRun, TheVolumeSliderSetsWhatTheStatusBarShows) {
    write("where.qvs", "dump out/where.json\nquit\n");
    HostRun r = run(path("where.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject slider;
    for (const QJsonValue& c :
         element(readDump("out/where.json"),
                 "classic-toolbar")[QStringLiteral("accessible")][QStringLiteral("children")]
             .toArray())
        if (c[QStringLiteral("name")].toString() == QLatin1String("Volume")) slider = c.toObject();
    ASSERT_FALSE(slider.isEmpty());
    const int x = slider[QStringLiteral("x")].toInt(), w = slider[QStringLiteral("width")].toInt();
    const int y = slider[QStringLiteral("y")].toInt() + slider[QStringLiteral("height")].toInt() / 2;

    // From the knob at full volume to the middle of the slider.
    write("slide.qvs",
          QStringLiteral("drag classic-toolbar %1 %2 %3 %2\nwait 0.6\ndump out/slid.json\nquit\n")
              .arg(x + w - 5)
              .arg(y)
              .arg(x + w / 2)
              .toUtf8()
              .constData());
    r = run(path("slide.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject slid = readDump("out/slid.json");
    const double volume = slid[QStringLiteral("volume")].toDouble();
    EXPECT_LT(volume, -6);
    EXPECT_GT(volume, -20);
    const QJsonArray status =
        element(slid, "classic-statusbar")[QStringLiteral("accessible")][QStringLiteral("children")]
            .toArray();
    ASSERT_EQ(status.size(), 2);
    EXPECT_EQ(status[0][QStringLiteral("name")].toString(), QStringLiteral("Stopped."));
    EXPECT_EQ(status[1][QStringLiteral("name")].toString(), QString::asprintf("%.2fdB", volume));
}

TEST_F(ScriptRun, TheClassicThemeHoldsFromStartUp) {
    {
        // Dark, as the Classic UI page stores it; the host's own appearance
        // is left at "Follow the system".
        std::filesystem::create_directories(layout.profile());
        Console console;
        ConfigStore(layout.profile() / "config.sqlite", console)
            .setInt("cfg_var.93C1E7A4-2F58-4B0D-8A61-5E0CB74219D3", 2);
    }
    write("dark.qvs", "screenshot out/bar.png classic-statusbar\nquit\n");
    const HostRun r = run(path("dark.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage bar(path("out/bar.png"));
    ASSERT_FALSE(bar.isNull());
    EXPECT_LT(bar.pixelColor(bar.width() / 2, bar.height() / 2).lightness(), 100);
}

}  // namespace
