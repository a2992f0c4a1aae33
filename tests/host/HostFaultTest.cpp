// The host binary when the machine misbehaves: media files that vanish or
// change while they play, a profile it may not write, a full disk, no sound
// card. It says so on the console, keeps what was saved, and goes on playing.

#include "FixtureLayout.h"
#include "ScriptRunFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

class HostFaults : public ::testing::Test {
protected:
    void SetUp() override {
        // Runs as nobody must reach the files: the folder is the test's own.
        fs::permissions(layout.root(), fs::perms::all);
        fs::create_directories(layout.profile());
        QDir().mkpath(path("out"));
        fs::permissions(path("out").toStdString(), fs::perms::all);
        fs::permissions(path("").toStdString(), fs::perms::all);
    }

    QString path(const QString& name) const {
        return QString::fromStdString((layout.root() / "files" / name.toStdString()).string());
    }

    void write(const QString& name, const QString& text) const {
        QDir().mkpath(path(""));
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }

    // Runs `script` to its end; `started` is called once the host writes
    // out/started.json, while the script goes on.
    HostRun run(const QString& script, const std::function<void(QProcess&)>& setup = {},
                const std::function<void()>& started = {}) const {
        write(QStringLiteral("script.qvs"), script);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUORVANE_AUDIO"), QStringLiteral("null"));
        env.insert(QStringLiteral("HOME"), path(""));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        p.setProcessEnvironment(env);
        if (setup) setup(p);
        p.start(QStringLiteral(QOV_QUORVANE_BINARY),
                {QStringLiteral("--profile"), QString::fromStdString(layout.profile().string()),
                 QStringLiteral("--script"), path(QStringLiteral("script.qvs"))});
        HostRun r;
        QElapsedTimer clock;
        clock.start();
        bool told = !started;
        while (!p.waitForFinished(50)) {
            if (!told && QFile::exists(path(QStringLiteral("out/started.json")))) {
                started();
                told = true;
            }
            if (clock.elapsed() > 180'000) {
                p.kill();
                p.waitForFinished();
                r.err = QStringLiteral("timed out: ") + QString::fromUtf8(p.readAllStandardError());
                return r;
            }
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QJsonObject dump(const QString& name) const {
        QFile f(path(QStringLiteral("out/") + name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    // Playlist names and item counts: "Kept:1 Lost:2".
    static QString playlistsOf(const QJsonObject& state) {
        QStringList out;
        for (const auto& p : state[QStringLiteral("playlists")].toArray())
            out.append(QStringLiteral("%1:%2")
                           .arg(p.toObject()[QStringLiteral("name")].toString())
                           .arg(p.toObject()[QStringLiteral("items")].toArray().size()));
        return out.join(u' ');
    }

    // Every file of the profile's top folder with its bytes.
    std::map<std::string, QByteArray> profileFiles() const {
        std::map<std::string, QByteArray> out;
        for (const auto& e : fs::directory_iterator(layout.profile())) {
            if (!e.is_regular_file()) continue;
            QFile f(QString::fromStdString(e.path().string()));
            f.open(QIODevice::ReadOnly);
            out[e.path().filename().string()] = f.readAll();
        }
        return out;
    }

    // A profile with one saved playlist, "Kept", holding a.wav.
    void keepOnePlaylist() {
        writeTestWav(path(QStringLiteral("a.wav")), 3);
        const HostRun r =
            run(QStringLiteral("new-playlist Kept\nadd %1\nquit\n").arg(path(QStringLiteral("a.wav"))));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }

    FixtureLayout layout;
};

// Whether any user may run `file`: every folder on the way searchable.
bool othersMayRun(const fs::path& file) {
    for (fs::path p = fs::absolute(file); p != p.root_path(); p = p.parent_path())
        if ((fs::status(p).permissions() & fs::perms::others_exec) == fs::perms::none) return false;
    return true;
}

// As root (CI) the host runs as nobody, since root writes whatever the
// permissions say.
void asNobody(QProcess& p) {
    p.setChildProcessModifier([] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
    });
}

TEST_F(HostFaults, TracksThatVanishOrChangeWhilePlayingAreSkippedAndThePlayerGoesOn) {
    writeTestWav(path(QStringLiteral("a.wav")), 8);
    writeTestWav(path(QStringLiteral("b.wav")), 4);
    writeTestWav(path(QStringLiteral("c.wav")), 4);
    const HostRun r = run(QStringLiteral("new-playlist Faults\n"
                                         "add %1 %2 %3\n"
                                         "play 0\n"
                                         "wait-until position>=0.5 60\n"
                                         "dump %4/started.json\n"
                                         "wait-until stopped 90\n"
                                         "dump %4/ended.json\n"
                                         "quit\n")
                              .arg(path(QStringLiteral("a.wav")), path(QStringLiteral("b.wav")),
                                   path(QStringLiteral("c.wav")), path(QStringLiteral("out"))),
                          {}, [&] {
                              // The playing track is cut short, the next one turns to noise,
                              // the last one goes.
                              fs::resize_file(path(QStringLiteral("a.wav")).toStdString(), 44 + 44100 * 4);
                              QFile b(path(QStringLiteral("b.wav")));
                              ASSERT_TRUE(b.open(QIODevice::WriteOnly));
                              b.write(QByteArray(300'000, '\x5a'));
                              b.close();
                              QFile::remove(path(QStringLiteral("c.wav")));
                          });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(dump(QStringLiteral("ended.json"))[QStringLiteral("is_playing")].toBool());
    EXPECT_TRUE(r.err.contains(QStringLiteral("Playback: cannot play %1").arg(path(QStringLiteral("b.wav")))))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(
        QStringLiteral("Playback: cannot play %1: File not found").arg(path(QStringLiteral("c.wav")))))
        << r.err.toStdString();
}

TEST_F(HostFaults, AReadOnlyProfileKeepsItsPlaylistsSaysWhyAndThePlayerStillPlays) {
    if (geteuid() == 0 && !othersMayRun(QOV_QUORVANE_BINARY))
        GTEST_SKIP() << "the checkout is closed to other users, and root ignores read-only folders";
    keepOnePlaylist();
    // The user's own files, in a folder made read-only.
    if (geteuid() == 0) {
        for (const auto& e : fs::directory_iterator(layout.profile()))
            ASSERT_EQ(chown(e.path().c_str(), 65534, 65534), 0);
    }
    const auto before = profileFiles();
    fs::permissions(layout.profile(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
    const HostRun r = run(QStringLiteral("new-playlist Lost\n"
                                         "add %1 %1\n"
                                         "play 0\n"
                                         "wait-until position>=0.3 60\n"
                                         "dump %2/read-only.json\n"
                                         "quit\n")
                              .arg(path(QStringLiteral("a.wav")), path(QStringLiteral("out"))),
                          asNobody);
    fs::permissions(layout.profile(), fs::perms::all);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(playlistsOf(dump(QStringLiteral("read-only.json"))), QStringLiteral("Kept:1 Lost:2"));
    const QString folder = QStringLiteral("the folder %1 cannot be written")
                               .arg(QString::fromStdString(layout.profile().string()));
    for (const char* store : {"config: settings changed this session will not be kept: ",
                              "playlists: changes to playlists will not be kept: ",
                              "library: play statistics of this session will not be kept: "})
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(store) + folder)) << store << "\n"
                                                                       << r.err.toStdString();

    EXPECT_EQ(profileFiles(), before);
    ASSERT_EQ(run(QStringLiteral("dump %1/after.json\nquit\n").arg(path(QStringLiteral("out")))).exitCode, 0);
    EXPECT_EQ(playlistsOf(dump(QStringLiteral("after.json"))), QStringLiteral("Kept:1"));
}

TEST_F(HostFaults, AFullDiskKeepsTheSavedPlaylistsSaysSoAndThePlayerStillPlays) {
    keepOnePlaylist();
    // Three thousand items do not fit in a file of 128 KiB.
    const QString many = (path(QStringLiteral("a.wav")) + u' ').repeated(3000);
    const HostRun r = run(QStringLiteral("new-playlist Big\n"
                                         "add %1\n"
                                         "play 0\n"
                                         "wait-until position>=0.3 60\n"
                                         "quit\n")
                              .arg(many),
                          [](QProcess& p) {
                              p.setChildProcessModifier([] {
                                  const rlimit limit{128 << 10, 128 << 10};
                                  setrlimit(RLIMIT_FSIZE, &limit);
                              });
                          });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("playlists: cannot save to ")) &&
                r.err.contains(QStringLiteral("File too large")))
        << r.err.toStdString();

    // The new playlist was saved while it was still empty; its items were not.
    ASSERT_EQ(run(QStringLiteral("dump %1/after.json\nquit\n").arg(path(QStringLiteral("out")))).exitCode, 0);
    EXPECT_EQ(playlistsOf(dump(QStringLiteral("after.json"))), QStringLiteral("Kept:1 Big:0"));
    for (const auto& e : fs::directory_iterator(layout.profile()))
        EXPECT_EQ(e.path().filename().string().find(".corrupt-"), std::string::npos) << e.path();
}

TEST_F(HostFaults, WithoutASoundCardThePlayerSaysSoOnceAndPlaysOnAClock) {
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) writeTestWav(path(QString::fromUtf8(name)), 0.5);
    write(QStringLiteral("alsa.conf"), QString());
    const HostRun r = run(
        QStringLiteral("add %1 %2 %3\n"
                       "play 0\n"
                       "wait-until stopped 60\n"
                       "quit\n")
            .arg(path(QStringLiteral("a.wav")), path(QStringLiteral("b.wav")), path(QStringLiteral("c.wav"))),
        [this](QProcess& p) {
            // An ALSA that knows no device at all.
            QProcessEnvironment env = p.processEnvironment();
            env.remove(QStringLiteral("QUORVANE_AUDIO"));
            env.insert(QStringLiteral("ALSA_CONFIG_PATH"), path(QStringLiteral("alsa.conf")));
            p.setProcessEnvironment(env);
        });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QStringLiteral("Audio: no output device")), 1) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QStringLiteral("Playback: cannot play")), 0) << r.err.toStdString();
}

}  // namespace
