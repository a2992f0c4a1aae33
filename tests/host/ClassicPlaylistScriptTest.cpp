// The classic-playlist element driven by scripts in the real host, as a user
// drives it: rows dragged, files dropped, the context menu, header sorting,
// search, the Edit menu and the theme chosen on the preferences page.

#include "QtPrinters.h"
#include "ScriptRunFixture.h"

#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class ClassicPlaylistScript : public ScriptRun {
protected:
    void SetUp() override {
        ScriptRun::SetUp();
        for (const char* name : {"one.wav", "two.wav", "three.wav", "four.wav", "new.wav"}) writeWav(name, 1);
        write("notes.txt", "not a track");
        write("playlist.layout", "classic-playlist\n");
    }

    HostRun runScript(const char* text) {
        write("script.qvs", text);
        return run(path("script.qvs"), {QStringLiteral("--layout"), path("playlist.layout")});
    }

    QJsonObject active(const QJsonObject& dump) const {
        return dump[QStringLiteral("playlists")]
            .toArray()[dump[QStringLiteral("active_playlist")].toInt()]
            .toObject();
    }
    // The active playlist's tracks by file name.
    QStringList tracks(const char* dump) const {
        QStringList out;
        for (const QJsonValue& v : active(readDump(dump))[QStringLiteral("items")].toArray())
            out.append(QFileInfo(v.toString()).completeBaseName());
        return out;
    }
    QJsonArray selection(const char* dump) const {
        return active(readDump(dump))[QStringLiteral("selection")].toArray();
    }
    // The element's table as its accessible cells read, row by row: the texts
    // of the Playing and the title column.
    QStringList rows(const char* dump) const {
        const QJsonObject element = readDump(dump)[QStringLiteral("window")]
                                        .toObject()[QStringLiteral("elements")]
                                        .toArray()[0]
                                        .toObject();
        QStringList out;
        QStringList cells;
        const auto walk = [&](const auto& self, const QJsonObject& node) -> void {
            if (node[QStringLiteral("role")].toString() == QStringLiteral("Cell"))
                cells.append(node[QStringLiteral("name")].toString());
            for (const QJsonValue& child : node[QStringLiteral("children")].toArray())
                self(self, child.toObject());
        };
        walk(walk, element[QStringLiteral("accessible")].toObject());
        constexpr int kColumns = 6;  // the default columns
        for (qsizetype i = 0; i + 2 < cells.size(); i += kColumns) out.append(cells[i] + u'|' + cells[i + 2]);
        return out;
    }
};

TEST_F(ClassicPlaylistScript, RowsAreDraggedFilesDroppedAndARowQueuedFromItsMenu) {
    const HostRun r = runScript(
        "new-playlist Edit\n"
        "add one.wav two.wav three.wav four.wav\n"
        "click classic-playlist@one\n"
        "drag classic-playlist@one @four\n"
        "dump out/dragged.json\n"
        "drop classic-playlist@two new.wav notes.txt\n"
        "wait 1\n"
        "dump out/dropped.json\n"
        "click classic-playlist@three right\n"
        "click popup@\"Add to Playback Queue\"\n"
        "dump out/queued.json\n"
        "quit\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    EXPECT_EQ(tracks("out/dragged.json"), (QStringList{"two", "three", "one", "four"}));
    EXPECT_EQ(selection("out/dragged.json"), QJsonArray{2});
    // Dropped before "two"; what is no track is left out.
    EXPECT_EQ(tracks("out/dropped.json"), (QStringList{"new", "two", "three", "one", "four"}));
    EXPECT_EQ(selection("out/dropped.json"), QJsonArray{0});

    const QJsonArray queue = readDump("out/queued.json")[QStringLiteral("queue")].toArray();
    ASSERT_EQ(queue.size(), 1);
    EXPECT_EQ(queue[0].toObject()[QStringLiteral("item")].toInt(), 2);
    EXPECT_EQ(rows("out/queued.json"), (QStringList{"|new", "|two", "  [1]|three", "|one", "|four"}));
}

TEST_F(ClassicPlaylistScript, AHeaderSortsTheSearchFindsAndTheEditMenuCutsAndPastes) {
    const HostRun r = runScript(
        "new-playlist Edit\n"
        "add two.wav four.wav one.wav three.wav\n"
        "click classic-playlist@\"Title / track artist\"\n"
        "dump out/sorted.json\n"
        "click classic-playlist@\"Title / track artist\"\n"
        "dump out/reversed.json\n"
        "click classic-playlist@one\n"
        "menu Edit/Cut\n"
        "click classic-playlist@four\n"
        "menu Edit/Paste\n"
        "dump out/pasted.json\n"
        "key cmd+f\n"
        "type t\n"
        "key return\n"
        "dump out/found.json\n"
        "quit\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    EXPECT_EQ(tracks("out/sorted.json"), (QStringList{"four", "one", "three", "two"}));
    EXPECT_EQ(tracks("out/reversed.json"), (QStringList{"two", "three", "one", "four"}));
    EXPECT_EQ(tracks("out/pasted.json"), (QStringList{"two", "three", "four", "one"}));
    EXPECT_EQ(selection("out/pasted.json"), QJsonArray{3});

    // "t" is in two and three; Return moves on to the second.
    const QJsonObject found = readDump("out/found.json");
    EXPECT_EQ(active(found)[QStringLiteral("selection")].toArray(), (QJsonArray{0, 1}));
    EXPECT_EQ(active(found)[QStringLiteral("focus")].toInt(), 1);
    QStringList labels;
    const auto walk = [&](const auto& self, const QJsonObject& node) -> void {
        if (node[QStringLiteral("role")].toString() == QStringLiteral("StaticText"))
            labels.append(node[QStringLiteral("name")].toString());
        for (const QJsonValue& child : node[QStringLiteral("children")].toArray())
            self(self, child.toObject());
    };
    walk(walk, found[QStringLiteral("window")]
                   .toObject()[QStringLiteral("elements")]
                   .toArray()[0]
                   .toObject()[QStringLiteral("accessible")]
                   .toObject());
    EXPECT_TRUE(labels.contains(QStringLiteral("2 of 2"))) << labels.join(u',').toStdString();
}

TEST_F(ClassicPlaylistScript, TheThemeChosenOnThePageRestylesThePlaylist) {
    const HostRun r = runScript(
        "new-playlist Edit\n"
        "add one.wav\n"
        "screenshot out/before.png classic-playlist\n"
        "prefs Classic UI\n"
        "click preferences@\"Theme:\"\n"
        "key down\n"
        "key down\n"
        "key return\n"
        "dump out/themed.json\n"
        "screenshot out/after.png classic-playlist\n"
        "quit\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QJsonObject preferences = readDump("out/themed.json")[QStringLiteral("window")]
                                        .toObject()[QStringLiteral("preferences")]
                                        .toObject();
    EXPECT_EQ(preferences[QStringLiteral("page")].toString(), QStringLiteral("Classic UI"));
    EXPECT_TRUE(QJsonDocument(preferences).toJson().contains("\"value\": \"Dark\""));
    // The empty part of the table, light before and dark after.
    const QImage before(path("out/before.png")), after(path("out/after.png"));
    ASSERT_FALSE(after.isNull());
    EXPECT_GT(before.pixelColor(400, 300).lightness(), 200);
    EXPECT_LT(after.pixelColor(400, 300).lightness(), 60);
}

}  // namespace
