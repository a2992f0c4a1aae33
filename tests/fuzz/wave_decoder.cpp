// Media bytes through the host's decoder into the waveform, as a scan reads a
// track: from memory (a memfd, named by its /proc path like any file), with
// the frames and the time a run may take bounded.

#include "FuzzTarget.h"

#include "AudioDecoder.h"
#include "WaveformBuilder.h"

#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <exception>

namespace {

constexpr uint64_t kMaxFrames = 4'000'000;
constexpr auto kMaxTime = std::chrono::seconds(2);

}  // namespace

QOV_FUZZ_TARGET(wave_decoder) {
    const int fd = memfd_create("media", 0);
    if (fd < 0) return 0;
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const auto deadline = std::chrono::steady_clock::now() + kMaxTime;
    uint64_t frames = 0;
    try {
        media::AudioDecoder decoder(
            path, 0, [&] { return frames > kMaxFrames || std::chrono::steady_clock::now() > deadline; });
        const double length = decoder.info().length;
        wave::WaveformBuilder builder(length > 0 ? length : 1.0);
        audio_chunk_impl chunk;
        while (decoder.read(chunk)) {
            if (!chunk.is_valid()) continue;
            builder.addFrames(chunk.get_data(), chunk.get_sample_count(), chunk.get_channels(),
                              chunk.get_srate());
            frames += chunk.get_sample_count();
        }
        builder.snapshot(true);
    } catch (const std::exception&) {
        // exception_io for what does not decode, exception_aborted at a bound.
    }
    close(fd);
    return 0;
}
