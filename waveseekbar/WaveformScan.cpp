#include "WaveformScan.h"

#include "BundleWork.h"
#include "console.h"
#include "input_helper.h"
#include "main_thread_callback.h"
#include "WaveformBuilder.h"

#include <chrono>
#include <string>

namespace wave {

namespace {

void publish(const ScanUpdate& onUpdate, std::shared_ptr<const Waveform> summary) {
    qvn::inMainThread([onUpdate, summary = std::move(summary)] { onUpdate(summary); });
}

void scan(ScanJob& job, const service_ptr_t<metadb_handle>& track, const ScanUpdate& onUpdate) {
    using clock = std::chrono::steady_clock;
    const double length = track->get_length();
    if (!(length > 0)) return;  // unknown length (streams), or NaN
    // Taken before decoding: a file rewritten meanwhile is kept under its old
    // stamp, so it is scanned again next time.
    const auto stamp = job.store ? stampOf(track->get_path()) : std::nullopt;
    if (stamp) {
        if (auto stored = job.store->load(job.key, *stamp)) {
            if (!job.abort.is_aborting()) publish(onUpdate, std::move(stored));
            job.store->markUsed(job.key);
            return;
        }
    }
    try {
        input_helper decoder;
        decoder.open(service_ptr_t<file>(), track, input_flag_no_seeking | input_flag_no_looping, job.abort);
        WaveformBuilder builder(length);
        audio_chunk_impl chunk;
        auto last = clock::now();
        while (decoder.run(chunk, job.abort)) {
            if (!chunk.is_valid()) continue;
            builder.addFrames(chunk.get_data(), chunk.get_sample_count(), chunk.get_channels(),
                              chunk.get_srate());
            const auto now = clock::now();
            if (now - last > std::chrono::milliseconds(250)) {
                publish(onUpdate, builder.snapshot(false));
                last = now;
            }
        }
        auto summary = builder.snapshot(true);
        publish(onUpdate, summary);
        if (stamp) job.store->save(job.key, *stamp, *summary);
    } catch (const exception_aborted&) {
    } catch (const std::exception& e) {
        const std::string line = std::string("Waveform Seekbar: scan failed: ") + e.what();
        qvn::std_api_get<qvn::console>()->print(line.c_str());
    }
}

}  // namespace

void startScan(std::shared_ptr<ScanJob> job, service_ptr_t<metadb_handle> track, ScanUpdate onUpdate) {
    qvn::spawnWorker([job = std::move(job), track = std::move(track), onUpdate = std::move(onUpdate)] {
        scan(*job, track, onUpdate);
    });
}

}  // namespace wave
