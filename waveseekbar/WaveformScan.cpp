#include "WaveformScan.h"

#include "WaveformBuilder.h"
#include "console.h"
#include "input_helper.h"
#include "main_thread_callback.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace wave {

namespace {

// The bundle must not be unloaded under a running scan thread: its code would
// vanish. Owners cancel their jobs before that, so waiting here is short.
class RunningScans {
public:
    void enter() {
        std::lock_guard lock(m_mutex);
        ++m_count;
    }
    void leave() {
        std::lock_guard lock(m_mutex);
        if (--m_count == 0) m_idle.notify_all();
    }
    ~RunningScans() {
        std::unique_lock lock(m_mutex);
        m_idle.wait_for(lock, std::chrono::seconds(5), [this] { return m_count == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_count = 0;
};

RunningScans g_running;

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
    g_running.enter();
    std::thread([job = std::move(job), track = std::move(track), onUpdate = std::move(onUpdate)]() mutable {
        {
            // Released before leaving, while the unload still waits for us.
            auto ownJob = std::move(job);
            auto ownTrack = std::move(track);
            auto ownUpdate = std::move(onUpdate);
            scan(*ownJob, ownTrack, ownUpdate);
        }
        g_running.leave();
    }).detach();
}

}  // namespace wave
