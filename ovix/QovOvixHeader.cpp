#include "QovOvixHeader.h"

#include "JumpSlider.h"
#include "OvixCoverFetch.h"
#include "OvixCoverView.h"
#include "OvixHeaderLayout.h"
#include "OvixHeaderState.h"
#include "OvixLabel.h"
#include "OvixStyle.h"
#include "OvixText.h"
#include "playback_control.h"
#include "playlist_manager.h"
#include "QovOvixHeaderView.h"
#include "QovOvixSymbolButton.h"
#include "std_api.h"

#include <QBoxLayout>
#include <QSignalBlocker>

#include <cmath>

namespace {

using platform::SystemColor;

constexpr int kSliderSteps = 1000;
constexpr const char* kShuffle = "Shuffle (tracks)";
constexpr const char* kRepeat = "Repeat (playlist)";

QWidget* row(std::initializer_list<QWidget*> widgets, int spacing) {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* w : widgets) layout->addWidget(w, 0, Qt::AlignVCenter);
    return box;
}

QWidget* column(std::initializer_list<QWidget*> widgets, int spacing, Qt::Alignment align) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* w : widgets) layout->addWidget(w, 0, align);
    return box;
}

}  // namespace

size_t orderIndex(const char* name) {
    auto pm = qvn::std_api_get<playlist_manager>();
    return matchOrder(
        pm->playback_order_get_count(), [&](size_t i) { return pm->playback_order_get_name(i); }, name);
}

QovOvixHeader::QovOvixHeader(QObject* parent) : qvn::ViewController(parent) {
    _timer.setInterval(kRefreshMs);
    connect(&_timer, &QTimer::timeout, this, &QovOvixHeader::refresh);
}

QovOvixHeader::~QovOvixHeader() {
    _timer.stop();
    if (_artAbort) _artAbort->abort();
}

void QovOvixHeader::loadView() {
    auto* panel = new QovOvixHeaderView;

    _cover = new OvixCoverView;
    _title = new OvixLabel(ovixFont(15, QFont::DemiBold), SystemColor::Label);
    _artist = new OvixLabel(ovixFont(12), SystemColor::Label);
    _album = new OvixLabel(ovixFont(12), SystemColor::SecondaryLabel);
    _tech = new OvixLabel(ovixFont(10), SystemColor::SecondaryLabel);
    QWidget* info = column({_title, _artist, _album, _tech}, 2, Qt::AlignLeft);

    _prev = symbolButton(QStringLiteral("backward.end.fill"), 16, QStringLiteral("Previous"), this,
                         &QovOvixHeader::onPrev);
    _stop =
        symbolButton(QStringLiteral("stop.fill"), 16, QStringLiteral("Stop"), this, &QovOvixHeader::onStop);
    _play =
        symbolButton(QStringLiteral("play.fill"), 30, QStringLiteral("Play"), this, &QovOvixHeader::onPlay);
    _pause = symbolButton(QStringLiteral("pause.fill"), 16, QStringLiteral("Pause"), this,
                          &QovOvixHeader::onPause);
    _next = symbolButton(QStringLiteral("forward.end.fill"), 16, QStringLiteral("Next"), this,
                         &QovOvixHeader::onNext);
    QWidget* transport = row({_prev, _stop, _play, _pause, _next}, 22);

    _volIcon = symbolButton(QStringLiteral("speaker.wave.2.fill"), 13, QStringLiteral("Mute"), this,
                            &QovOvixHeader::onMute);
    _volume = new platform::JumpSlider;
    _volume->setRange(0, kSliderSteps);
    _volume->setValue(kSliderSteps);
    _volume->setFixedWidth(110);
    _volume->setFocusPolicy(Qt::NoFocus);
    _volume->setAccessibleName(QStringLiteral("Volume"));
    connect(_volume, &QSlider::valueChanged, this, &QovOvixHeader::onVolume);
    _shuffle = symbolButton(QStringLiteral("shuffle"), 13, QStringLiteral("Shuffle"), this,
                            &QovOvixHeader::onShuffle);
    _repeat = symbolButton(QStringLiteral("repeat"), 13, QStringLiteral("Repeat playlist"), this,
                           &QovOvixHeader::onRepeat);
    _time = new OvixLabel(ovixFont(12), SystemColor::SecondaryLabel);
    QWidget* right =
        column({row({_volIcon, _volume}, 6), row({_shuffle, _repeat, _time}, 12)}, 10, Qt::AlignRight);

    // The buttons whose highlight tells the player's state say so to screen readers too.
    for (QovOvixSymbolButton* b : {_play.data(), _pause.data(), _shuffle.data(), _repeat.data()})
        b->setCheckable(true);
    _shuffle->setTint(SystemColor::SecondaryLabel);
    _repeat->setTint(SystemColor::SecondaryLabel);

    auto* layout = new OvixHeaderLayout(panel);
    layout->addWidget(_cover);
    layout->addWidget(info);
    layout->addWidget(transport);
    layout->addWidget(right);
    setView(panel);

    _tfTitle = compileTF("[%title%]");
    _tfArtist = compileTF("[%artist%]");
    _tfAlbum = compileTF("[%album%][ '('%date%')']");
    _tfTech = compileTF("[%codec%][, $div(%samplerate%,1000) kHz][, %bitrate% kbps][, $caps(%channels%)]");
    refresh();
}

void QovOvixHeader::viewDidLoad() { _timer.start(); }

QString QovOvixHeader::playbackText(const service_ptr_t<titleformat_object>& pattern) const {
    cvk::stringLite text;
    qvn::std_api_get<playback_control>()->playback_format_title(nullptr, text, pattern, nullptr,
                                                                playback_control::display_level_all);
    return str(text.str());
}

void QovOvixHeader::refresh() {
    if (!_title) return;
    auto pc = qvn::std_api_get<playback_control>();
    auto pm = qvn::std_api_get<playlist_manager>();

    OvixPlayerSnapshot s;
    service_ptr_t<metadb_handle> track;
    s.hasTrack = pc->get_now_playing(track) && track.is_valid();
    if (!s.hasTrack) track.release();
    if (s.hasTrack) {
        s.title = playbackText(_tfTitle);
        s.artist = playbackText(_tfArtist);
        s.album = playbackText(_tfAlbum);
        s.tech = playbackText(_tfTech);
        s.length = track->get_length();
        s.position = pc->playback_get_position();
    }
    s.paused = pc->is_paused();
    s.volume = pc->get_volume();
    s.activeOrder = pm->playback_order_get_active();
    s.shuffleOrder = orderIndex(kShuffle);
    s.repeatOrder = orderIndex(kRepeat);
    const OvixHeaderDisplay d = headerDisplay(s);

    _title->setText(d.title);
    _artist->setText(d.artist);
    _album->setText(d.album);
    _tech->setText(d.tech);
    _time->setText(d.time);

    if (track.get_ptr() != _shownTrack.get_ptr()) {
        _shownTrack = track;
        loadCover(track);
    }

    _play->setHighlighted(d.playHighlighted);
    _pause->setHighlighted(d.pauseHighlighted);
    {
        const QSignalBlocker quiet(_volume);
        _volume->setValue(int(std::lround(d.slider * kSliderSteps)));
    }
    _volIcon->setSymbol(d.muted ? QStringLiteral("speaker.slash.fill")
                                : QStringLiteral("speaker.wave.2.fill"));
    _shuffle->setHighlighted(d.shuffleOn);
    _repeat->setHighlighted(d.repeatOn);
}

void QovOvixHeader::loadCover(const service_ptr_t<metadb_handle>& track) {
    if (_artAbort) _artAbort->abort();
    _artAbort.reset();
    _cover->setImage(QImage());
    if (!track.is_valid()) return;
    _artAbort = std::make_shared<abort_callback_impl>();
    // Decoded no larger than the cover shows it on this screen.
    const QSize box = _cover->size() * _cover->devicePixelRatioF();
    QPointer<OvixCoverView> cover = _cover;
    fetchCover(_artAbort, track, box, QPointer<QObject>(this), [cover](const QImage& image) {
        if (cover) cover->setImage(image);
    });
}

void QovOvixHeader::onPrev() {
    qvn::std_api_get<playback_control>()->start(playback_control::track_command_prev);
}

void QovOvixHeader::onNext() {
    qvn::std_api_get<playback_control>()->start(playback_control::track_command_next);
}

void QovOvixHeader::onStop() { qvn::std_api_get<playback_control>()->stop(); }

void QovOvixHeader::onPause() { qvn::std_api_get<playback_control>()->pause(true); }

void QovOvixHeader::onPlay() {
    auto pc = qvn::std_api_get<playback_control>();
    if (pc->is_paused())
        pc->pause(false);
    else if (!pc->is_playing())
        pc->start(playback_control::track_command_play);
}

void QovOvixHeader::onVolume() {
    qvn::std_api_get<playback_control>()->set_volume(
        volumeForSlider(double(_volume->value()) / kSliderSteps));
}

void QovOvixHeader::onMute() { qvn::std_api_get<playback_control>()->volume_mute_toggle(); }

void QovOvixHeader::toggleOrder(const char* name) {
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t target = orderIndex(name);
    if (target == SIZE_MAX) return;
    pm->playback_order_set_active(toggledOrder(pm->playback_order_get_active(), target));
    refresh();
}

void QovOvixHeader::onShuffle() { toggleOrder(kShuffle); }

void QovOvixHeader::onRepeat() { toggleOrder(kRepeat); }
