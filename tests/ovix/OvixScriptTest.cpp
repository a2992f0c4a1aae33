// The ovix layout in the real host, driven by scripts: what the user does
// through the four elements, read back from the player's state and the
// elements' accessible trees in the dumps.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

struct HostRun {
    int exitCode = -1;
    QString err;
};

class OvixScript : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& text) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    // A tagged FLAC of a few seconds of a tone.
    void track(const QString& name, const char* artist, const char* album, const char* title) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        const QString command = QStringLiteral(
                                    "'%1' -nostdin -v error -y -f lavfi -i sine=frequency=330:duration=6 "
                                    "-metadata artist='%2' -metadata album='%3' -metadata title='%4' '%5'")
                                    .arg(QStringLiteral(QOV_FFMPEG), QString::fromUtf8(artist),
                                         QString::fromUtf8(album), QString::fromUtf8(title), path(name));
        ASSERT_EQ(std::system(command.toUtf8().constData()), 0) << command.toStdString();
    }

    HostRun run(const QString& script) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUORVANE_AUDIO"), QStringLiteral("null"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QOV_QUORVANE_BINARY),
                {QStringLiteral("--profile"), path(QStringLiteral("profile")), QStringLiteral("--layout"),
                 QStringLiteral("ovix"), QStringLiteral("--script"), path(script)});
        HostRun r;
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            r.err = QStringLiteral("timed out");
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QJsonObject dump(const QString& name) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    QTemporaryDir dir;
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
    track(QStringLiteral("music/a1.flac"), "Ann", "Alpha", "One");
    track(QStringLiteral("music/a2.flac"), "Ann", "Alpha", "Two");
    track(QStringLiteral("music/b1.flac"), "Bob", "Beta", "Three");
    track(QStringLiteral("extra/c1.flac"), "Cy", "Gamma", "Four");
    write(QStringLiteral("drive.qvs"),
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
    const HostRun r = run(QStringLiteral("drive.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString a1 = path(QStringLiteral("music/a1.flac")), a2 = path(QStringLiteral("music/a2.flac")),
                  b1 = path(QStringLiteral("music/b1.flac")), c1 = path(QStringLiteral("extra/c1.flac"));

    // A double click on a row plays it; the header and the row say so.
    const QJsonObject playing = dump(QStringLiteral("out/playing.json"));
    EXPECT_EQ(playing[QStringLiteral("playing")].toString(), a2);
    EXPECT_FALSE(node(playing, QStringLiteral("ovix-header"), QStringLiteral("Two")).isEmpty());
    EXPECT_TRUE(has(node(playing, QStringLiteral("ovix-header"), QStringLiteral("Play")), "checked"));
    EXPECT_TRUE(
        has(node(playing, QStringLiteral("ovix-playlist"), QStringLiteral("2. Ann - Two")), "selected"));
    EXPECT_FALSE(
        node(playing, QStringLiteral("ovix-playlist"), QStringLiteral("Bob - Beta, 1 / 0:06")).isEmpty());

    // Shuffle twice: on, then back to the first order.
    const QJsonObject shuffled = dump(QStringLiteral("out/shuffled.json"));
    EXPECT_EQ(shuffled[QStringLiteral("playback_order")].toString(), QStringLiteral("Shuffle (tracks)"));
    EXPECT_TRUE(has(node(shuffled, QStringLiteral("ovix-header"), QStringLiteral("Shuffle")), "checked"));
    const QJsonObject unshuffled = dump(QStringLiteral("out/unshuffled.json"));
    EXPECT_EQ(unshuffled[QStringLiteral("playback_order")].toString(), QStringLiteral("Default"));
    EXPECT_FALSE(has(node(unshuffled, QStringLiteral("ovix-header"), QStringLiteral("Shuffle")), "checked"));

    // The quick search selects the first track holding the text, whatever its case.
    const QJsonObject searched = dump(QStringLiteral("out/searched.json"));
    EXPECT_EQ(activePlaylist(searched)[QStringLiteral("selection")].toArray(), QJsonArray{2});
    EXPECT_EQ(activePlaylist(searched)[QStringLiteral("focus")].toInt(), 2);
    EXPECT_TRUE(
        has(node(searched, QStringLiteral("ovix-playlist"), QStringLiteral("3. Bob - Three")), "selected"));

    // A double click on a tab renames its playlist.
    const QJsonObject renamed = dump(QStringLiteral("out/renamed.json"));
    EXPECT_EQ(activePlaylist(renamed)[QStringLiteral("name")].toString(), QStringLiteral("Road trip"));
    EXPECT_TRUE(has(node(renamed, QStringLiteral("ovix-tabs"), QStringLiteral("Road trip")), "selected"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("alert \"Rename playlist\" answered with button 1")));

    // Files dropped on a group's header go in front of its first track, selected.
    const QJsonObject dropped = dump(QStringLiteral("out/dropped.json"));
    EXPECT_EQ(activePlaylist(dropped)[QStringLiteral("items")].toArray(), paths({c1, a1, a2, b1}));
    EXPECT_EQ(activePlaylist(dropped)[QStringLiteral("selection")].toArray(), QJsonArray{0});
    EXPECT_FALSE(node(dropped, QStringLiteral("ovix-playlist"), QStringLiteral("1. Cy - Four")).isEmpty());
}

TEST_F(OvixScript, KeysPlayRemoveAndSwitchPlaylists) {
    track(QStringLiteral("music/a1.flac"), "Ann", "Alpha", "One");
    track(QStringLiteral("music/a2.flac"), "Ann", "Alpha", "Two");
    track(QStringLiteral("music/b1.flac"), "Bob", "Beta", "Three");
    write(QStringLiteral("keys.qvs"),
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
    const HostRun r = run(QStringLiteral("keys.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject keys = dump(QStringLiteral("out/keys.json"));
    EXPECT_EQ(keys[QStringLiteral("active_playlist")].toInt(), 0);
    EXPECT_EQ(keys[QStringLiteral("playing")].toString(), path(QStringLiteral("music/a1.flac")));
    EXPECT_EQ(activePlaylist(keys)[QStringLiteral("items")].toArray(),
              paths({path(QStringLiteral("music/b1.flac"))}));
    EXPECT_TRUE(has(node(keys, QStringLiteral("ovix-tabs"), QStringLiteral("One")), "selected"));

    const QJsonObject right = dump(QStringLiteral("out/right.json"));
    EXPECT_EQ(right[QStringLiteral("active_playlist")].toInt(), 1);
    EXPECT_TRUE(has(node(right, QStringLiteral("ovix-tabs"), QStringLiteral("Two")), "selected"));
    EXPECT_FALSE(has(node(right, QStringLiteral("ovix-tabs"), QStringLiteral("One")), "selected"));
}

TEST_F(OvixScript, RowsDraggedWithinTheListReorderThePlaylist) {
    track(QStringLiteral("music/a1.flac"), "Ann", "Alpha", "One");
    track(QStringLiteral("music/a2.flac"), "Ann", "Alpha", "Two");
    track(QStringLiteral("music/b1.flac"), "Bob", "Beta", "Three");
    write(QStringLiteral("drag.qvs"),
          "new-playlist Mix\n"
          "add music/a1.flac music/a2.flac music/b1.flac\n"
          "click ovix-playlist@\"3. Bob - Three\"\n"
          "drag ovix-playlist@\"3. Bob - Three\" @\"Ann - Alpha, 2 / 0:12\"\n"
          "dump out/dragged.json\n"
          "quit\n");
    const HostRun r = run(QStringLiteral("drag.qvs"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("without a drop"))) << r.err.toStdString();

    // Dropped on a group's header: in front of its first track, still selected.
    const QJsonObject dragged = dump(QStringLiteral("out/dragged.json"));
    EXPECT_EQ(activePlaylist(dragged)[QStringLiteral("items")].toArray(),
              paths({path(QStringLiteral("music/b1.flac")), path(QStringLiteral("music/a1.flac")),
                     path(QStringLiteral("music/a2.flac"))}));
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
    track(QStringLiteral("big/song.flac"), "Ann", "Alpha", "Big");
    {
        // Twenty megapixels beside the track: its cover.
        QImage cover(5472, 3648, QImage::Format_RGB32);
        QPainter p(&cover);
        p.fillRect(cover.rect(), QLinearGradient(0, 0, 5472, 3648));
        p.end();
        ASSERT_TRUE(cover.save(path(QStringLiteral("big/cover.jpg")), "JPG", 95));
    }
    write(QStringLiteral("quit.qvs"),
          "new-playlist Big\n"
          "add big/song.flac\n"
          "play 0\n"
          "wait-until playing\n"
          "wait 0.26\n"
          "quit\n");
    const HostRun r = run(QStringLiteral("quit.qvs"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

}  // namespace
