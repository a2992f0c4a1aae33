#include "PlaybackFixture.h"

#include "ConfigStore.h"
#include "ConfigStoreService.h"
#include "Console.h"
#include "input.h"
#include "service_factory.h"

#include <QCoreApplication>
#include <QThread>

#include <cmath>
#include <cstdio>

namespace {

class SynthTrack : public metadb_handle {
public:
    SynthTrack(std::string path, double length) : m_path(std::move(path)), m_length(length) {}
    const char* get_path() const override { return m_path.c_str(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return m_length; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    // The script reads its fields from the hook alone; see TitleTest.
    bool format_title(titleformat_hook* hook, cvk::string_base& out,
                      const service_ptr_t<titleformat_object>& script,
                      titleformat_text_filter* filter) const override {
        out.reset();
        if (!script) return false;
        script->run(hook, out, filter);
        return true;
    }

private:
    std::string m_path;
    double m_length;
};

class SynthDecoder : public input_decoder {
public:
    explicit SynthDecoder(const Synth& synth)
        : m_synth(synth), m_total(size_t(std::llround(synth.seconds * synth.rate))) {}

    bool run(audio_chunk& chunk, abort_callback& abort) override {
        abort.check();
        if (m_synth.failAfter >= 0 && double(m_frame) / m_synth.rate >= m_synth.failAfter)
            throw exception_io("Invalid data found when processing input");
        const size_t frames = std::min<size_t>(512, m_total - std::min(m_frame, m_total));
        if (frames == 0) {
            chunk.set_sample_count(0);
            return false;
        }
        std::vector<audio_sample> data(frames * m_synth.channels, m_synth.value);
        chunk.set_data(data.data(), frames, m_synth.channels, m_synth.rate);
        m_frame += frames;
        return true;
    }
    bool can_seek() override { return m_synth.seekable; }
    void seek(double seconds, abort_callback&) override {
        if (!m_synth.seekable) throw exception_io("Not seekable");
        m_frame = size_t(std::max(0.0, seconds) * m_synth.rate);
    }

private:
    Synth m_synth;
    size_t m_total;
    size_t m_frame = 0;
};

class SynthInputs : public input_manager {
public:
    service_ptr_t<input_decoder> open(service_ptr_t<file>, const service_ptr_t<metadb_handle>& track,
                                      uint32_t, abort_callback& abort, bool, bool) override {
        abort.check();
        Synth synth;
        if (!SynthLibrary::global().find(track->get_path(), synth))
            throw exception_io(std::string("File not found: ") + track->get_path());
        // As the host's decoders say it: the reason, then the file.
        if (synth.failOpen) throw exception_io("Unsupported format: " + std::string(track->get_path() + 7));
        return new service_impl_t<SynthDecoder>(synth);
    }
};

service_factory_singleton_t<SynthInputs> g_synthInputs;

}  // namespace

// --- SynthLibrary ---

SynthLibrary& SynthLibrary::global() {
    static SynthLibrary library;
    return library;
}

service_ptr_t<metadb_handle> SynthLibrary::add(const std::string& name, const Synth& synth) {
    const std::string path = "file:///synth/" + name;
    std::lock_guard lock(m_mutex);
    m_synths[path] = synth;
    return new service_impl_t<SynthTrack>(path, synth.seconds);
}

bool SynthLibrary::find(const std::string& path, Synth& out) {
    std::lock_guard lock(m_mutex);
    const auto it = m_synths.find(path);
    if (it == m_synths.end()) return false;
    out = it->second;
    return true;
}

// --- Capture ---

class CaptureDevice : public playback::AudioDevice {
public:
    CaptureDevice(const playback::AudioFormat& format, Capture& capture)
        : m_clock(playback::openSilentClock(format)), m_capture(capture), m_channels(format.channels) {}
    bool write(const float* samples, size_t frames) override {
        {
            std::lock_guard lock(m_capture.m_mutex);
            m_capture.m_samples.insert(m_capture.m_samples.end(), samples, samples + frames * m_channels);
        }
        return m_clock->write(samples, frames);
    }
    size_t delay() override { return m_clock->delay(); }
    void setPaused(bool paused) override { m_clock->setPaused(paused); }
    void drop() override { m_clock->drop(); }
    void playOut() override { m_clock->playOut(); }

private:
    std::unique_ptr<playback::AudioDevice> m_clock;
    Capture& m_capture;
    unsigned m_channels;
};

playback::DeviceFactory Capture::factory() {
    return [this](const playback::AudioFormat& format) {
        return std::make_unique<CaptureDevice>(format, *this);
    };
}

std::vector<float> Capture::samples() {
    std::lock_guard lock(m_mutex);
    return m_samples;
}

void Capture::clear() {
    std::lock_guard lock(m_mutex);
    m_samples.clear();
}

// --- EventLog ---

namespace {

std::string fileName(const service_ptr_t<metadb_handle>& track) {
    const std::string path = track ? track->get_path() : "";
    return path.substr(path.find_last_of('/') + 1);
}

std::string number(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

}  // namespace

void EventLog::log(std::string line) {
    events.push_back(line);
    if (onEvent) onEvent(line);
}

void EventLog::on_playback_starting(playback_control::t_track_command command, bool paused) {
    log("starting " + std::to_string(int(command)) + " " + (paused ? "1" : "0"));
}
void EventLog::on_playback_new_track(service_ptr_t<metadb_handle> track) { log("new " + fileName(track)); }
void EventLog::on_playback_stop(playback_control::t_stop_reason reason) {
    log("stop " + std::to_string(int(reason)));
}
void EventLog::on_playback_seek(double seconds) { log("seek " + number(seconds, 2)); }
void EventLog::on_playback_pause(bool state) { log(std::string("pause ") + (state ? "1" : "0")); }
void EventLog::on_playback_time(double seconds) { log("time " + number(seconds, 0)); }
void EventLog::on_volume_change(float db) { log("volume " + number(db, 1)); }

std::vector<std::string> EventLog::withoutTime() const {
    std::vector<std::string> out;
    for (const auto& e : events)
        if (e.rfind("time ", 0) != 0) out.push_back(e);
    return out;
}

// --- waiting ---

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

void pumpFor(std::chrono::milliseconds duration) {
    waitUntil([] { return false; }, duration);
}

// --- PlaybackTest ---

namespace {

// The engine needs an event loop; nothing here needs a GUI.
void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "playback_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

}  // namespace

PlaybackTest::PlaybackTest() {
    ensureApplication();
    ConfigStoreService::attach(
        std::make_shared<ConfigStore>(profile.filePath("settings.sqlite").toStdString(), Console::global()));
    playlists = new service_impl_t<playlists::PlaylistManager>();
    playlists->seedRandom(7);
    engine = std::make_unique<playback::PlaybackEngine>();
    engine->setDeviceFactory(capture.factory());
    engine->attachPlaylists(playlists);
    consoleMark = Console::global().mark();
}

PlaybackTest::~PlaybackTest() {
    engine.reset();
    ConfigStoreService::attach(nullptr);
}

size_t PlaybackTest::playlistOf(const std::vector<std::pair<std::string, Synth>>& tracks) {
    metadb_handle_list items;
    for (const auto& [name, synth] : tracks) items.push_back(SynthLibrary::global().add(name, synth));
    const size_t playlist = playlists->create_playlist("Test", SIZE_MAX, SIZE_MAX);
    playlists->playlist_add_items(playlist, items, bit_array_false());
    playlists->set_active_playlist(playlist);
    return playlist;
}

std::string PlaybackTest::playing() { return fileName(engine->nowPlaying()); }

bool PlaybackTest::waitStopped(std::chrono::milliseconds timeout) {
    return waitUntil(
        [this] {
            for (const auto& e : log.events)
                if (e.rfind("stop ", 0) == 0 && e != "stop 2") return true;
            return false;
        },
        timeout);
}

std::vector<std::string> PlaybackTest::consoleSince() const {
    return Console::global().linesSince(consoleMark);
}
