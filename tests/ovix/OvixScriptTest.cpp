// The ovix layout in the real host, driven by scripts: what the user does
// through the four elements, read back from the player's state and the
// elements' accessible trees in the dumps.

#include "ScriptRunFixture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

class OvixScript : public ScriptRun {
protected:
    // The real bundles alone.
    void SetUp() override {}

    // A tagged FLAC of a few seconds of a tone.
    void track(const char* name, const char* artist, const char* album, const char* title) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        const QString command = QStringLiteral(
                                    "'%1' -nostdin -v error -y -f lavfi -i sine=frequency=330:duration=6 "
                                    "-metadata artist='%2' -metadata album='%3' -metadata title='%4' '%5'")
                                    .arg(QStringLiteral(QOV_FFMPEG), QString::fromUtf8(artist),
                                         QString::fromUtf8(album), QString::fromUtf8(title), path(name));
        ASSERT_EQ(std::system(command.toUtf8().constData()), 0) << command.toStdString();
    }

    // music/: Ann's "Alpha" (One, Two) and Bob's "Beta" (Three).
    void albums() const {
        track("music/a1.flac", "Ann", "Alpha", "One");
        track("music/a2.flac", "Ann", "Alpha", "Two");
        track("music/b1.flac", "Bob", "Beta", "Three");
    }

    HostRun runOvix(const char* script) const { return run(path(script), {"--layout", "ovix"}); }
};

QJsonObject activePlaylist(const QJsonObject& state) {
    return state[QStringLiteral("playlists")]
        .toArray()[state[QStringLiteral("active_playlist")].toInt()]
        .toObject();
}

// The element's accessible node named `name`, depth first; empty when none.
QJsonObject node(const QJsonObject& state, const QString& element, const QString& name) {
    std::function<QJsonObject(const QJsonObject&)> find = [&](const QJsonObject& n) -> QJsonObject {
        if (n[QStringLiteral("name")].toString() == name) return n;
        for (const QJsonValue& c : n[QStringLiteral("children")].toArray())
            if (QJsonObject found = find(c.toObject()); !found.isEmpty()) return found;
        return {};
    };
    for (const QJsonValue& e : state[QStringLiteral("window")][QStringLiteral("elements")].toArray())
        if (e[QStringLiteral("name")].toString() == element)
            return find(e[QStringLiteral("accessible")].toObject());
    return {};
}

bool has(const QJsonObject& node, const char* state) {
    return node[QStringLiteral("states")].toArray().contains(QString::fromLatin1(state));
}

QJsonArray paths(std::initializer_list<QString> list) {
    QJsonArray out;
    for (const QString& p : list) out.append(p);
    return out;
}

TEST_F(OvixScript, PlaysTogglesSearchesRenamesAndTakesDroppedFiles) {
    albums();
    track("extra/c1.flac", "Cy", "Gamma", "Four");
    write("drive.qvs",
          "new-playlist Mix\n"
          "add music/a1.flac music/a2.flac music/b1.flac\n"
          "click ovix-playlist@\"2. Ann - Two\" double\n"
          "wait-until playing\n"
          "wait 0.6\n"
          "dump out/playing.json\n"
          "click ovix-header@Shuffle\n"
          "dump out/shuffled.json\n"
          "click ovix-header@Shuffle\n"
          "dump out/unshuffled.json\n"
          "click ovix-footer@\"Quick search\"\n"
          "type THRE\n"
          "dump out/searched.json\n"
          "answer-alerts 1 Road trip\n"
          "click ovix-tabs@Mix double\n"
          "wait 0.8\n"
          "dump out/renamed.json\n"
          "drop ovix-playlist@\"Ann - Alpha, 2 / 0:12\" extra/c1.flac\n"
          "wait 2\n"
          "dump out/dropped.json\n"
          "quit\n");
    const HostRun r = runOvix("drive.qvs");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString a1 = path("music/a1.flac"), a2 = path("music/a2.flac"), b1 = path("music/b1.flac"),
                  c1 = path("extra/c1.flac");

    // A double click on a row plays it; the header and the row say so.
    const QJsonObject playing = readDump("out/playing.json");
    EXPECT_EQ(playing[QStringLiteral("playing")].toString(), a2);
    EXPECT_FALSE(node(playing, QStringLiteral("ovix-header"), QStringLiteral("Two")).isEmpty());
    EXPECT_TRUE(has(node(playing, QStringLiteral("ovix-header"), QStringLiteral("Play")), "checked"));
    EXPECT_TRUE(
        has(node(playing, QStringLiteral("ovix-playlist"), QStringLiteral("2. Ann - Two")), "selected"));
    EXPECT_FALSE(
        node(playing, QStringLiteral("ovix-playlist"), QStringLiteral("Bob - Beta, 1 / 0:06")).isEmpty());

    // Shuffle twice: on, then back to the first order.
    const QJsonObject shuffled = readDump("out/shuffled.json");
    EXPECT_EQ(shuffled[QStringLiteral("playback_order")].toString(), QStringLiteral("Shuffle (tracks)"));
    EXPECT_TRUE(has(node(shuffled, QStringLiteral("ovix-header"), QStringLiteral("Shuffle")), "checked"));
    const QJsonObject unshuffled = readDump("out/unshuffled.json");
    EXPECT_EQ(unshuffled[QStringLiteral("playback_order")].toString(), QStringLiteral("Default"));
    EXPECT_FALSE(has(node(unshuffled, QStringLiteral("ovix-header"), QStringLiteral("Shuffle")), "checked"));

    // The quick search selects the first track holding the text, whatever its case.
    const QJsonObject searched = readDump("out/searched.json");
    EXPECT_EQ(activePlaylist(searched)[QStringLiteral("selection")].toArray(), QJsonArray{2});
    EXPECT_EQ(activePlaylist(searched)[QStringLiteral("focus")].toInt(), 2);
    EXPECT_TRUE(
        has(node(searched, QStringLiteral("ovix-playlist"), QStringLiteral("3. Bob - Three")), "selected"));

    // A double click on a tab renames its playlist.
    const QJsonObject renamed = readDump("out/renamed.json");
    EXPECT_EQ(activePlaylist(renamed)[QStringLiteral("name")].toString(), QStringLiteral("Road trip"));
    EXPECT_TRUE(has(node(renamed, QStringLiteral("ovix-tabs"), QStringLiteral("Road trip")), "selected"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("alert \"Rename playlist\" answered with button 1")));

    // Files dropped on a group's header go in front of its first track, selected.
    const QJsonObject dropped = readDump("out/dropped.json");
    EXPECT_EQ(activePlaylist(dropped)[QStringLiteral("items")].toArray(), paths({c1, a1, a2, b1}));
    EXPECT_EQ(activePlaylist(dropped)[QStringLiteral("selection")].toArray(), QJsonArray{0});
    EXPECT_FALSE(node(dropped, QStringLiteral("ovix-playlist"), QStringLiteral("1. Cy - Four")).isEmpty());
}

TEST_F(OvixScript, KeysPlayRemoveAndSwitchPlaylists) {
    albums();
    write("keys.qvs",
          "new-playlist One\n"
          "add music/a1.flac music/a2.flac music/b1.flac\n"
          "new-playlist Two\n"
          "key left\n"
          "wait 0.4\n"
          "click ovix-playlist@\"1. Ann - One\"\n"
          "key return\n"
          "wait-until playing\n"
          "key delete\n"
          "wait 0.3\n"
          "click ovix-playlist@\"1. Ann - Two\"\n"
          "key forward-delete\n"
          "wait 0.3\n"
          "dump out/keys.json\n"
          "key right\n"
          "wait 0.4\n"
          "dump out/right.json\n"
          "quit\n");
    const HostRun r = runOvix("keys.qvs");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject keys = readDump("out/keys.json");
    EXPECT_EQ(keys[QStringLiteral("active_playlist")].toInt(), 0);
    EXPECT_EQ(keys[QStringLiteral("playing")].toString(), path("music/a1.flac"));
    EXPECT_EQ(activePlaylist(keys)[QStringLiteral("items")].toArray(), paths({path("music/b1.flac")}));
    EXPECT_TRUE(has(node(keys, QStringLiteral("ovix-tabs"), QStringLiteral("One")), "selected"));

    const QJsonObject right = readDump("out/right.json");
    EXPECT_EQ(right[QStringLiteral("active_playlist")].toInt(), 1);
    EXPECT_TRUE(has(node(right, QStringLiteral("ovix-tabs"), QStringLiteral("Two")), "selected"));
    EXPECT_FALSE(has(node(right, QStringLiteral("ovix-tabs"), QStringLiteral("One")), "selected"));
}

TEST_F(OvixScript, RowsDraggedWithinTheListReorderThePlaylist) {
    albums();
    write("drag.qvs",
          "new-playlist Mix\n"
          "add music/a1.flac music/a2.flac music/b1.flac\n"
          "click ovix-playlist@\"3. Bob - Three\"\n"
          "drag ovix-playlist@\"3. Bob - Three\" @\"Ann - Alpha, 2 / 0:12\"\n"
          "dump out/dragged.json\n"
          "quit\n");
    const HostRun r = runOvix("drag.qvs");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("without a drop"))) << r.err.toStdString();

    // Dropped on a group's header: in front of its first track, still selected.
    const QJsonObject dragged = readDump("out/dragged.json");
    EXPECT_EQ(activePlaylist(dragged)[QStringLiteral("items")].toArray(),
              paths({path("music/b1.flac"), path("music/a1.flac"), path("music/a2.flac")}));
    EXPECT_EQ(activePlaylist(dragged)[QStringLiteral("selection")].toArray(), QJsonArray{0});
    QStringList shown;
    for (const QJsonValue& e : dragged[QStringLiteral("window")][QStringLiteral("elements")].toArray())
        if (e[QStringLiteral("name")].toString() == QLatin1String("ovix-playlist"))
            for (const QJsonValue& row :
                 e[QStringLiteral("accessible")][QStringLiteral("children")].toArray())
                shown.append(row[QStringLiteral("name")].toString());
    EXPECT_EQ(shown, (QStringList{"Bob - Beta, 1 / 0:06", "1. Bob - Three", "Ann - Alpha, 2 / 0:12",
                                  "2. Ann - One", "3. Ann - Two"}));
    EXPECT_TRUE(
        has(node(dragged, QStringLiteral("ovix-playlist"), QStringLiteral("1. Bob - Three")), "selected"));
}

TEST_F(OvixScript, QuittingWhileAHugeCoverLoadsEndsCleanly) {
    track("big/song.flac", "Ann", "Alpha", "Big");
    {
        // Twenty megapixels beside the track: its cover.
        QImage cover(5472, 3648, QImage::Format_RGB32);
        QPainter p(&cover);
        p.fillRect(cover.rect(), QLinearGradient(0, 0, 5472, 3648));
        p.end();
        ASSERT_TRUE(cover.save(path("big/cover.jpg"), "JPG", 95));
    }
    write("quit.qvs",
          "new-playlist Big\n"
          "add big/song.flac\n"
          "play 0\n"
          "wait-until playing\n"
          "wait 0.26\n"
          "quit\n");
    const HostRun r = runOvix("quit.qvs");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

}  // namespace
