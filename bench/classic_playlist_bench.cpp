// The Classic playlist over a long playlist grouped by album, inside the
// host's own playlist, title-formatting and playback services: rebuilding the
// rows, the element's first paint, scrolling a page, sorting by a column, and
// the memory the element adds. The reference is the host's plain formatting of the group
// pattern over the same tracks; the last line is "ratio X", the rebuild
// (rows and queue labels) over that reference, medians of both.
//
// usage: classic_playlist_bench [tracks] [repetitions]

#include "BenchRun.h"
#include "ClassicColumns.h"
#include "ClassicRows.h"
#include "ClassicSettings.h"
#include "ConfigStore.h"
#include "ConfigStoreService.h"
#include "Console.h"
#include "MemoryPlaylist.h"
#include "PlaylistService.h"
#include "QovClassicPlaylist.h"
#include "std_api.h"

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

namespace {

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<BenchRun> run = BenchRun::fromArgs(argc, argv, 7);
    if (!run) return 2;
    const std::size_t trackCount = run->tracks;
    const int repetitions = run->repetitions;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir profile;
    ConfigStoreService::attach(std::make_shared<ConfigStore>(
        QDir(profile.path()).filePath("config.sqlite").toStdString(), Console::global()));
    cfg_groupBy.set("album");
    cfg_columns.set(
        "playing\t60\nartistalbum\t250\ntitleartist\t400\nduration\t60\nplaycount\t70\npath\t450");

    const metadb_handle_list items = generatedHandles(trackCount);
    auto& pm = playlists::hostPlaylistManager();
    const size_t playlist = pm.create_playlist("Bench", SIZE_MAX, SIZE_MAX);
    pm.playlist_add_items(playlist, items, bit_array_false());
    pm.set_active_playlist(playlist);
    for (size_t i = 0; i < 20; ++i) pm.queue_add_item_playlist(playlist, (i * 7919) % trackCount);

    const auto group = qvn::std_api_get<titleformat_compiler>()->compile_safe(findGroup("album")->pattern);
    const QString home = QDir::homePath();
    std::size_t sink = 0;  // keeps the work observable
    auto reference = [&] { sink += formatPlainly(items, {group}); };
    ClassicRows rows;
    auto rebuild = [&] {
        rows.build(items, group, home);
        std::vector<t_playback_queue_item> queue;
        pm.queue_get_contents(queue);
        rows.rebuildQueue(queue, playlist);
        sink += rows.rowCount();
    };
    reference();
    rebuild();
    std::vector<double> referenceTimes, rebuildTimes;
    for (int r = 0; r < repetitions; ++r) {
        referenceTimes.push_back(timeMs(reference));
        rebuildTimes.push_back(timeMs(rebuild));
    }

    // The element, as the host places it.
    const double before = residentMiB();
    auto controller = std::make_unique<QovClassicPlaylist>();
    QWidget* view = controller->view();
    view->resize(1200, 800);
    view->show();
    QApplication::processEvents();  // laid out and painted into the window
    const double added = residentMiB() - before;
    QScrollBar* scroll = controller->table()->verticalScrollBar();
    std::vector<double> elementTimes, paintTimes, scrollTimes;
    for (int r = 0; r < repetitions; ++r) {
        scroll->setValue(0);
        elementTimes.push_back(timeMs([&] { controller->rebuild(); }));
        QApplication::processEvents();
        paintTimes.push_back(timeMs([&] { view->grab(); }));
        // Each page further down is new to the text cache.
        scroll->setValue(scroll->value() + scroll->pageStep() * (r + 1));
        scrollTimes.push_back(timeMs([&] { view->grab(); }));
    }

    // Sorting by a column: its keys formatted for every track, the stable
    // numeric-aware sort, and the host reordering the playlist. Each click
    // turns the direction, so each sort has work to do.
    std::vector<double> sortTimes;
    const int titleColumn = controller->model()->columnOf(QStringLiteral("titleartist"));
    for (int r = 0; r < repetitions; ++r) {
        sortTimes.push_back(timeMs([&] { controller->didClickTableColumn(titleColumn); }));
        QApplication::processEvents();  // the rebuild the reorder asks for
    }

    const double referenceMs = median(referenceTimes);
    const double rebuildMs = median(rebuildTimes);
    std::printf("tracks %zu, rows %zu, group headers %zu, repetitions %d (checksum %zu)\n", trackCount,
                rows.rowCount(), rows.headerRows().size(), repetitions, sink % 1000);
    std::printf("rebuild (rows and queue labels) median %.2f ms\n", rebuildMs);
    std::printf("rebuild of the element (with the table's rows) median %.2f ms\n", median(elementTimes));
    std::printf("first paint median %.2f ms\n", median(paintTimes));
    std::printf("scroll one page median %.2f ms\n", median(scrollTimes));
    std::printf("sort by a column median %.2f ms\n", median(sortTimes));
    std::printf("memory the element adds %.1f MiB\n", added);
    std::printf("reference (formatting the group pattern) median %.2f ms\n", referenceMs);
    std::printf("ratio %.2f\n", rebuildMs / referenceMs);
    controller.reset();
    ConfigStoreService::attach(nullptr);
    return 0;
}
