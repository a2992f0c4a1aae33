#include "DemoRun.h"

#include "Console.h"
#include "DemoLibrary.h"
#include "LayoutSource.h"
#include "MainWindow.h"
#include "MediaLibrary.h"
#include "Metadb.h"
#include "PlaybackEngine.h"
#include "PlaylistService.h"
#include "WindowShot.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

#include <cstdio>

namespace DemoRun {

bool prepare(const std::filesystem::path& profileDir, Console& console) {
    std::string error;
    if (!demo::DemoLibrary::ensure(profileDir, &error)) {
        console.print("Cannot make the demo library: " + error);
        return false;
    }
    auto& library = library::MediaLibrary::instance();
    const QString folder = QString::fromStdString(demo::DemoLibrary::folder(profileDir).string());
    if (!library.folders().contains(folder)) library.setFolders(library.folders() << folder);

    auto& playlists = playlists::hostPlaylistManager();
    if (playlists.get_playlist_count() > 0) return true;
    metadb_handle_list tracks;
    for (const auto& path : demo::DemoLibrary::tracks(profileDir))
        tracks.push_back(library::Metadb::instance().handleFor(path.string()));
    const size_t demo = playlists.create_playlist("Demo", SIZE_MAX, SIZE_MAX);
    playlists.playlist_insert_items(demo, 0, tracks, bit_array_false());
    playlists.set_active_playlist(demo);
    return true;
}

void play() {
    auto& playlists = playlists::hostPlaylistManager();
    playback::PlaybackEngine::instance().playItem(playlists.get_active_playlist(), 0);
}

namespace {

// The window with one of its menus open. A menu is a window of its own, so it
// is painted onto the picture of the main window where it stands.
bool shootMenu(MainWindow& window, const QString& title, const QString& file, QString* error) {
    QMenu* menu = nullptr;
    QRect titleRect;
    for (QAction* action : window.menuBar()->actions()) {
        if (action->menu() && action->text().remove(u'&') == title) {
            menu = action->menu();
            titleRect = window.menuBar()->actionGeometry(action);
        }
    }
    if (!menu) {
        *error = QStringLiteral("no menu ") + title;
        return false;
    }
    menu->popup(window.menuBar()->mapToGlobal(titleRect.bottomLeft()));
    WindowShot::settle(300);
    QImage picture = window.grab().toImage();
    {
        QPainter painter(&picture);
        painter.drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
    }
    menu->hide();
    if (!picture.save(file)) {
        *error = QStringLiteral("cannot write ") + file;
        return false;
    }
    return true;
}

}  // namespace

void captureAndQuit(MainWindow& window, const std::filesystem::path& profileDir, Console& console) {
    const QString folder = QString::fromStdString((profileDir / "screenshots").string());
    auto shoot = [&window, &console, folder](const QString& layout) {
        const LayoutSource source = LayoutSource::resolve(layout);
        if (window.layoutName() != source.name) window.applyLayout(source.name, LayoutText::parse(source.text));
        const QString file = folder + u'/' + layout + QStringLiteral(".png");
        QString error;
        if (!WindowShot::capture(window, file, 1500, true, &error)) {
            console.print("Cannot write the demo screenshot: " + error.toStdString());
            return false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    };
    // Long enough for a waveform to fill in and the elements to show the track.
    auto shootPlaybackMenu = [&window, &console, folder] {
        const QString file = folder + QStringLiteral("/menu.png");
        QString error;
        if (!shootMenu(window, QStringLiteral("Playback"), file, &error)) {
            console.print("Cannot write the demo screenshot: " + error.toStdString());
            return false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    };
    QTimer::singleShot(3000, &window, [shoot, shootPlaybackMenu] {
        const bool ok = shoot(QStringLiteral("classic")) && shootPlaybackMenu() && shoot(QStringLiteral("ovix"));
        std::fflush(stdout);
        QApplication::exit(ok ? 0 : 1);
    });
}

}  // namespace DemoRun
