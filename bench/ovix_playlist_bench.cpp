// Rebuilds the Ovix playlist's rows for a 100,000-track playlist, and times
// beside it the host's plain formatting loop: the same four patterns over the
// same tracks, each formatted into a string and nothing more. Also prints the
// footer's once-a-second totals and the list's reset and layout over the rows.
// The last line is "ratio X": rebuild time over plain time, medians of both.
//
// usage: ovix_playlist_bench [tracks] [repetitions]

#include "BenchRun.h"
#include "MemoryPlaylist.h"
#include "OvixFooterStats.h"
#include "OvixRowListModel.h"
#include "OvixRows.h"
#include "QovOvixTableView.h"
#include "ServiceRegistry.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <vector>

int main(int argc, char** argv) {
    const std::optional<BenchRun> run = BenchRun::fromArgs(argc, argv, 7);
    if (!run) return 2;
    const std::size_t trackCount = run->tracks;
    const int repetitions = run->repetitions;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ServiceRegistry::global().addModule(service_factory_base::__internal__list);

    const metadb_handle_list tracks = generatedHandles(trackCount);
    const OvixPatterns patterns = OvixPatterns::compile();

    std::size_t sink = 0;  // keeps the work observable
    auto plainPass = [&] {
        sink += formatPlainly(tracks, {patterns.group, patterns.line1, patterns.line2, patterns.length});
    };
    OvixRows rows;
    auto rebuildPass = [&] {
        rows = buildRows(tracks, patterns, std::move(rows));
        sink += rows.rows.size();
    };
    QString totals;
    auto totalsPass = [&] { totals = formatTotals(totalsOf(tracks)); };

    plainPass();  // warm caches and buffers
    rebuildPass();
    std::vector<double> plainTimes, rebuildTimes, totalsTimes;
    for (int r = 0; r < repetitions; ++r) {
        plainTimes.push_back(timeMs(plainPass));
        rebuildTimes.push_back(timeMs(rebuildPass));
        totalsTimes.push_back(timeMs(totalsPass));
    }

    // The list over the rows: the model reset and a full layout, as a rebuild
    // costs the window.
    OvixRowListModel model([](const OvixRow&) { return false; });
    QovOvixTableView view;
    view.setModel(&model);
    view.resize(800, 600);
    view.show();
    const double listMs = timeMs([&] {
        model.rebuild([&](OvixRows) { return rows; });
        view.doItemsLayout();
        view.scrollToBottom();
    });

    const double plainMs = median(plainTimes), rebuildMs = median(rebuildTimes);
    std::printf("tracks %zu, rows %zu, repetitions %d (checksum %zu)\n", trackCount, rows.rows.size(),
                repetitions, sink % 1000);
    std::printf("plain formatting median %.1f ms (%.0f ns per track)\n", plainMs, plainMs * 1e6 / trackCount);
    std::printf("rebuild median %.1f ms (%.0f ns per track)\n", rebuildMs, rebuildMs * 1e6 / trackCount);
    std::printf("footer totals median %.1f ms: %s\n", median(totalsTimes), qPrintable(totals));
    std::printf("list reset and layout %.1f ms\n", listMs);
    std::printf("ratio %.2f\n", rebuildMs / plainMs);
    return 0;
}
