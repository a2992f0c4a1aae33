// Scans one file the way the seekbar does: the host's track handle and decoder
// service, the seekbar's scan thread and reduction, the summary handed back on
// the main loop. Prints the time from the start of the scan to the complete
// summary on the main loop, and the peak memory of the process.
//
// usage: wave_scan_bench FILE [STORE-FOLDER]
// With a folder, the scan uses the waveform store kept there, as the seekbar
// uses the one in the profile: a file scanned by an earlier run comes from it.

#include "Metadb.h"
#include "ServiceRegistry.h"
#include "WaveformCache.h"
#include "WaveformScan.h"

#include <QCoreApplication>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: wave_scan_bench FILE [STORE-FOLDER]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    ServiceRegistry::global().addModule(service_factory_base::__internal__list);

    auto track = library::Metadb::instance().handleFor(std::filesystem::absolute(argv[1]).string());
    auto job = std::make_shared<wave::ScanJob>();
    job->key = wave::cacheKey(track->get_path(), track->get_subsong_index());
    if (argc == 3)
        job->store = std::make_shared<wave::WaveformStore>(
            std::filesystem::path(argv[2]) / "waveforms.sqlite", 32 << 20);
    const auto start = std::chrono::steady_clock::now();
    int publications = 0;
    bool complete = false;
    wave::startScan(std::move(job), track, [&](std::shared_ptr<const wave::Waveform> w) {
        ++publications;
        if (w->complete) {
            complete = true;
            QCoreApplication::quit();
        }
    });
    // A failed scan publishes nothing final: give up after an hour of decoding.
    QTimer::singleShot(3600 * 1000, &app, [] { QCoreApplication::exit(1); });
    const int rc = QCoreApplication::exec();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("scan %.4f s, %d publications, %s, peak memory %ld MiB\n", seconds, publications,
                complete ? "complete" : "incomplete", usage.ru_maxrss / 1024);
    return complete ? rc : 1;
}
