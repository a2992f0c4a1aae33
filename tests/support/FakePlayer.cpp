#include "FakePlayer.h"

#include "MainQueue.h"
#include "TestApplication.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>

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

void FakeConfigStore::setConfigInt(const char* name, int64_t value) { values[name] = std::to_string(value); }

qvn::stringRef FakeConfigStore::getConfigString(const char* name, qvn::stringRef def) {
    auto it = values.find(name);
    return it == values.end() ? def : qvn::string::make(it->second.c_str());
}

void FakeConfigStore::setConfigString(const char* name, const char* value) { values[name] = value; }

void FakeConfigStore::deleteConfig(const char* name) { values.erase(name); }

void QtMainThread::add_callback(service_ptr_t<main_thread_callback> callback) {
    platform::async([callback] { callback->callback_run(); });
}

void FakePlayback::start(t_track_command command, bool startPaused) {
    commands.push_back(command);
    paused = startPaused;
}

void FakePlayback::stop() {
    ++stops;
    stopWith(stop_reason_user);
}

void FakePlayback::pause(bool state) {
    if (playing.is_valid()) paused = state;
}

bool FakePlayback::get_now_playing(service_ptr_t<metadb_handle>& out) {
    out = playing;
    return playing.is_valid();
}

void FakePlayback::playback_seek(double seconds) {
    seeks.push_back(seconds);
    position = seconds;
}

void FakePlayback::set_volume(float db) {
    volume = std::clamp(db, volume_mute, 0.0f);
    muted = false;
}

bool FakePlayback::playback_format_title(titleformat_hook* hook, cvk::string_base& out,
                                         const service_ptr_t<titleformat_object>& script,
                                         titleformat_text_filter* filter, t_display_level level) {
    ++formats;
    lastLevel = level;
    out.reset();
    if (!playing.is_valid() || !script.is_valid()) return false;
    return playing->format_title(hook, out, script, filter);
}

void FakePlayback::play(service_ptr_t<metadb_handle> track) {
    playing = track;
    paused = false;
    position = 0;
    const auto listeners = events->callbacks;
    for (const auto& [cb, flags] : listeners)
        if (flags & play_callback::flag_on_playback_new_track) cb->on_playback_new_track(track);
}

void FakePlayback::stopWith(t_stop_reason reason) {
    playing.release();
    paused = false;
    position = 0;
    const auto listeners = events->callbacks;
    for (const auto& [cb, flags] : listeners)
        if (flags & play_callback::flag_on_playback_stop) cb->on_playback_stop(reason);
}

FakePlayer::FakePlayer() {
    testApplication();
    FakeHost& h = bound.host;
    h.add(qvn::console::class_guid, console);
    h.add(qvn::configStore::class_guid, config);
    h.add(main_thread_callback_manager::class_guid, mainThread);
    h.add(playback_control::class_guid, playback);
    h.add(play_callback_manager::class_guid, playback->events);
}

bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void spinFor(std::chrono::milliseconds duration) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < duration.count()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
