#include "QovWaveSeekbarController.h"

#include "core_api.h"
#include "play_callback.h"
#include "playback_control.h"
#include "QovWaveSeekbarView.h"
#include "std_api.h"
#include "WaveformCache.h"
#include "WaveformStore.h"

#include <string_view>

namespace {

// Room for about 1600 tracks.
constexpr uint64_t kStoreLimitBytes = 32ull << 20;

// One for every seekbar of the process; nothing is read before a scan needs it.
std::shared_ptr<wave::WaveformStore> profileStore() {
    static const std::shared_ptr<wave::WaveformStore> store = []() -> std::shared_ptr<wave::WaveformStore> {
        constexpr std::string_view scheme = "file://";
        const std::string_view profile = core_api::get_profile_path();
        if (!profile.starts_with(scheme)) return nullptr;
        return std::make_shared<wave::WaveformStore>(
            std::filesystem::path(profile.substr(scheme.size())) / "qov_wave_seekbar.waveforms.sqlite",
            kStoreLimitBytes);
    }();
    return store;
}

}  // namespace

class QovWaveSeekbarController::PlayCallback final : public play_callback_impl_base {
public:
    explicit PlayCallback(QovWaveSeekbarController* owner)
        : play_callback_impl_base(flag_on_playback_new_track | flag_on_playback_stop), m_owner(owner) {}

    void on_playback_new_track(service_ptr_t<metadb_handle> track) override {
        if (m_owner) m_owner->trackChanged(track);
    }
    void on_playback_stop(playback_control::t_stop_reason reason) override {
        // Another track is starting: its new-track event follows, keep the bar.
        if (reason == playback_control::stop_reason_starting_another) return;
        if (m_owner) m_owner->stopped();
    }

private:
    QPointer<QovWaveSeekbarController> m_owner;
};

QovWaveSeekbarController::QovWaveSeekbarController(QObject* parent) : qvn::ViewController(parent) {
    m_timer.setInterval(1000 / 30);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &QovWaveSeekbarController::tick);
}

QovWaveSeekbarController::~QovWaveSeekbarController() {
    m_timer.stop();
    cancelJob();
    m_cb.reset();
}

void QovWaveSeekbarController::loadView() {
    auto* view = new QovWaveSeekbarView;
    view->resize(400, 40);
    view->setSideTimes(m_sideTimes);
    m_wave = view;
    setView(view);
}

void QovWaveSeekbarController::viewDidLoad() {
    m_cb = std::make_unique<PlayCallback>(this);
    service_ptr_t<metadb_handle> track;
    if (qvn::std_api_get<playback_control>()->get_now_playing(track)) trackChanged(track);
    m_timer.start();
}

void QovWaveSeekbarController::tick() {
    if (!m_wave || !m_wave->isVisible()) return;
    auto playback = qvn::std_api_get<playback_control>();
    if (!playback->is_playing()) return;
    m_wave->setPosition(playback->playback_get_position());
    m_wave->setSeekable(playback->playback_can_seek());
}

void QovWaveSeekbarController::cancelJob() {
    if (m_job) m_job->abort.set_state(true);
    m_job.reset();
}

void QovWaveSeekbarController::trackChanged(const service_ptr_t<metadb_handle>& track) {
    if (!m_wave || !track) return;
    cancelJob();
    m_wave->setLength(track->get_length());
    m_wave->setPosition(0);
    const std::string key = wave::cacheKey(track->get_path(), track->get_subsong_index());
    if (auto cached = wave::cacheLookup(key)) {
        m_wave->setWaveform(std::move(cached));
        return;
    }
    m_wave->setWaveform(nullptr);
    auto job = std::make_shared<wave::ScanJob>();
    job->key = key;
    job->store = profileStore();
    m_job = job;
    QPointer<QovWaveSeekbarController> self(this);
    std::weak_ptr<wave::ScanJob> weakJob(job);
    wave::startScan(job, track, [self, weakJob, key](std::shared_ptr<const wave::Waveform> summary) {
        // A finished track is worth keeping even when nobody shows it any more.
        if (summary->complete) wave::cacheStore(key, summary);
        auto job = weakJob.lock();
        if (!self || !job || job != self->m_job || !self->m_wave) return;
        self->m_wave->setWaveform(summary);
        if (summary->complete) self->m_job.reset();
    });
}

void QovWaveSeekbarController::stopped() {
    cancelJob();
    if (!m_wave) return;
    m_wave->setWaveform(nullptr);
    m_wave->setLength(0);
    m_wave->setPosition(0);
}
