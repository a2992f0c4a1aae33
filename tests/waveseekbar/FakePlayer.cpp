#include "FakePlayer.h"

#include "MainQueue.h"

#include <algorithm>
#include <thread>

namespace {

class ScriptedDecoder : public input_decoder {
public:
    explicit ScriptedDecoder(DecodeScript s) : m_s(s) {}
    bool run(audio_chunk& chunk, abort_callback& abort) override {
        abort.check();
        if (m_blocks++ == m_s.failAfter) throw exception_io("Corrupt data at block 2");
        if (m_done >= m_s.frames) return false;
        std::this_thread::sleep_for(m_s.blockDelay);
        const size_t n = std::min<size_t>(4096, m_s.frames - m_done);
        m_buf.assign(n * m_s.channels, 0.5);
        chunk.set_data(m_buf.data(), n, m_s.channels, m_s.rate);
        m_done += n;
        return true;
    }
    bool can_seek() override { return false; }
    void seek(double, abort_callback&) override {}

private:
    DecodeScript m_s;
    size_t m_done = 0;
    int m_blocks = 0;
    std::vector<double> m_buf;
};

}  // namespace

service_ptr_t<input_decoder> FakeInputs::open(service_ptr_t<file>, const service_ptr_t<metadb_handle>&,
                                              uint32_t flags, abort_callback& abort, bool, bool) {
    lastFlags = flags;
    ++opened;
    abort.check();
    if (script.failOpen || refuse) throw exception_io("Unsupported format");
    return service_new<ScriptedDecoder>(script);
}

void FakeConsole::print(const char* line) {
    std::lock_guard g(m_mutex);
    m_lines.push_back(line);
}

std::vector<std::string> FakeConsole::lines() {
    std::lock_guard g(m_mutex);
    return m_lines;
}

int64_t FakeConfigStore::getConfigInt(const char* name, int64_t def) {
    auto it = values.find(name);
    return it == values.end() ? def : std::stoll(it->second);
}

void FakeConfigStore::setConfigInt(const char* name, int64_t value) {
    values[name] = std::to_string(value);
}

qvn::stringRef FakeConfigStore::getConfigString(const char* name, qvn::stringRef def) {
    auto it = values.find(name);
    return it == values.end() ? def : qvn::string::make(it->second.c_str());
}

void FakeConfigStore::setConfigString(const char* name, const char* value) {
    values[name] = value;
}

void FakeConfigStore::deleteConfig(const char* name) {
    values.erase(name);
}

void QtMainThread::add_callback(service_ptr_t<main_thread_callback> callback) {
    platform::async([callback] { callback->callback_run(); });
}

bool FakePlayback::get_now_playing(service_ptr_t<metadb_handle>& out) {
    out = playing;
    return playing.is_valid();
}

void FakePlayback::newTrack(service_ptr_t<metadb_handle> track) {
    playing = track;
    position = 0;
    const auto snapshot = events->callbacks;
    for (auto& [cb, flags] : snapshot)
        if (flags & play_callback::flag_on_playback_new_track) cb->on_playback_new_track(track);
}

void FakePlayback::stopWith(t_stop_reason reason) {
    playing.release();
    const auto snapshot = events->callbacks;
    for (auto& [cb, flags] : snapshot)
        if (flags & play_callback::flag_on_playback_stop) cb->on_playback_stop(reason);
}

FakePlayer::FakePlayer()
    : inputs(service_new<FakeInputs>()), console(service_new<FakeConsole>()),
      config(service_new<FakeConfigStore>()), mainThread(service_new<QtMainThread>()),
      playback(service_new<FakePlayback>()) {
    bound.host.add(input_manager::class_guid, inputs);
    bound.host.add(qvn::console::class_guid, console);
    bound.host.add(qvn::configStore::class_guid, config);
    bound.host.add(main_thread_callback_manager::class_guid, mainThread);
    bound.host.add(playback_control::class_guid, playback);
    bound.host.add(play_callback_manager::class_guid, playback->events);
}
