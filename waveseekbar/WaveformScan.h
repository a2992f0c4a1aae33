#pragma once

// Background scans: one worker thread of the bundle per track decodes it
// through the host's decoders, folds it into a Waveform and publishes partial
// summaries at most every 250 ms, then a final complete one, on the main thread.
// With a store, a local file scanned before is published complete at once
// instead, and a finished scan is kept there.

#include "abort_callback.h"
#include "metadb_handle.h"
#include "Waveform.h"
#include "WaveformStore.h"

#include <functional>
#include <memory>
#include <string>

namespace wave {

// Shared by the owner, which cancels through `abort`, and the scan thread.
struct ScanJob {
    quorvane_io::abort_callback_impl abort;
    std::string key;
    // Null: scan without keeping anything across restarts.
    std::shared_ptr<WaveformStore> store;
};

using ScanUpdate = std::function<void(std::shared_ptr<const Waveform>)>;

// Returns at once. `onUpdate` runs on the main thread, once per publication.
// A cancelled scan publishes nothing after it notices; a failed one prints one
// console line and publishes no final summary.
void startScan(std::shared_ptr<ScanJob> job, service_ptr_t<metadb_handle> track, ScanUpdate onUpdate);

}  // namespace wave
