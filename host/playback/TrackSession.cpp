#include "TrackSession.h"

#include "input_helper.h"

#include <algorithm>
#include <vector>

namespace playback {

namespace {

// Decoded ahead of what is heard; a seek or a track change throws it away.
constexpr double kBufferSeconds = 0.5;

}  // namespace

TrackSession::TrackSession(service_ptr_t<metadb_handle> track, bool paused, DeviceFactory devices,
                           const std::atomic<float>& gain, Events events)
    : m_track(std::move(track)),
      m_devices(std::move(devices)),
      m_gain(gain),
      m_events(std::move(events)),
      m_paused(paused) {
    m_thread = std::thread([this] { run(); });
}

TrackSession::~TrackSession() {
    m_abort.abort();
    wakeStream();
    m_thread.join();
}

void TrackSession::wakeStream() {
    // Under the lock: the decoding thread may be replacing the stream.
    std::lock_guard lock(m_mutex);
    if (m_stream) m_stream->wake();
}

// Only the decoding thread replaces the stream, so it may use this pointer freely.
OutputStream* TrackSession::stream() const {
    std::lock_guard lock(m_mutex);
    return m_stream.get();
}

void TrackSession::seek(double seconds) {
    {
        std::lock_guard lock(m_mutex);
        m_seekTarget = std::max(0.0, seconds);
        m_seekPending = true;
    }
    wakeStream();
}

void TrackSession::setPaused(bool paused) {
    std::lock_guard lock(m_mutex);
    m_paused = paused;
    if (m_stream) m_stream->setPaused(paused);
}

double TrackSession::position() const {
    std::lock_guard lock(m_mutex);
    if (m_seekPending) return m_seekTarget;
    if (!m_stream) return m_base;
    return m_base + double(m_stream->heardFrames()) / m_stream->format().rate;
}

AudioFormat TrackSession::format() const {
    std::lock_guard lock(m_mutex);
    return m_stream ? m_stream->format() : AudioFormat{};
}

void TrackSession::run() {
    try {
        decode();
    } catch (const exception_aborted&) {
    } catch (const std::exception& e) {
        if (!m_abort.is_aborting()) m_events.failed(e.what());
    }
}

void TrackSession::decode() {
    input_helper decoder;
    decoder.open(nullptr, m_track, input_flag_playback | input_flag_no_looping, m_abort);
    m_canSeek = decoder.can_seek();
    m_events.opened(m_canSeek);

    const auto stop = [this] { return stopWaiting(); };
    audio_chunk_impl chunk;
    std::vector<float> samples;
    for (;;) {
        m_abort.check();
        if (m_seekPending) {
            double target;
            {
                std::lock_guard lock(m_mutex);
                target = m_seekTarget;
            }
            if (!m_canSeek) {
                m_seekPending = false;
                continue;
            }
            decoder.seek(target, m_abort);
            if (OutputStream* s = stream()) s->flush();
            std::lock_guard lock(m_mutex);
            m_base = target;
            // A newer seek arrived meanwhile: take that one too.
            if (m_seekTarget == target) m_seekPending = false;
            continue;
        }

        if (!decoder.run(chunk, m_abort)) {
            OutputStream* s = stream();
            if (s && !s->waitDrained(stop)) continue;
            m_abort.check();
            if (m_seekPending) continue;
            m_events.ended();
            return;
        }
        if (chunk.is_empty()) continue;
        if (!chunk.is_valid()) throw exception_io("The decoder returned damaged audio");

        const AudioFormat format{chunk.get_srate(), chunk.get_channels()};
        OutputStream* s = stream();
        if (!s || !(s->format() == format)) {
            // The format changed mid-track: what was decoded before plays out first.
            if (s && !s->waitDrained(stop)) continue;
            auto fresh =
                std::make_unique<OutputStream>(m_devices(format), format, kBufferSeconds, m_gain, false);
            std::lock_guard lock(m_mutex);
            if (m_stream) m_base += double(m_stream->heardFrames()) / m_stream->format().rate;
            fresh->setPaused(m_paused);
            m_stream = std::move(fresh);
            s = m_stream.get();
        }

        const size_t count = chunk.get_sample_count() * format.channels;
        samples.resize(count);
        const audio_sample* data = chunk.get_data();
        for (size_t i = 0; i < count; ++i) samples[i] = static_cast<float>(data[i]);
        s->write(samples.data(), chunk.get_sample_count(), stop);
    }
}

}  // namespace playback
