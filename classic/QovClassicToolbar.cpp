#include "QovClassicToolbar.h"

#include "ClassicSettings.h"
#include "DisplayText.h"
#include "JumpSlider.h"
#include "playback_control.h"
#include "playlist_manager.h"
#include "standard_commands.h"
#include "std_api.h"
#include "SymbolButton.h"
#include "SystemFont.h"
#include "SystemLabel.h"
#include "VolumeSlider.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

namespace {

const QString kPlayerName = QStringLiteral("quorvane");

auto playback() { return qvn::std_api_get<playback_control>(); }

// Room after a control on top of the row's spacing (spacers get none).
void addGap(QHBoxLayout* row, int total) { row->addSpacing(total - row->spacing()); }

}  // namespace

QovClassicToolbar::QovClassicToolbar(QObject* parent) : qvn::ViewController(parent) {
    _timer.setInterval(kPollMs);
    connect(&_timer, &QTimer::timeout, this, [this] {
        syncOrder();
        syncVolume();
        syncWindowTitle();
    });
}

SymbolButton* QovClassicToolbar::button(const char* symbol, const char* tip,
                                        void (QovClassicToolbar::*action)()) {
    auto* b = new SymbolButton(QString::fromLatin1(symbol), QString::fromLatin1(tip));
    connect(b, &QToolButton::clicked, this, action);
    return b;
}

void QovClassicToolbar::loadView() {
    auto* bar = new QWidget;
    bar->setAccessibleName(QStringLiteral("Classic Toolbar"));
    bar->setFixedHeight(28);
    auto* row = new QHBoxLayout(bar);
    row->setSpacing(2);
    row->setContentsMargins(6, 2, 6, 2);

    row->addWidget(button("stop.fill", "Stop", &QovClassicToolbar::onStop));
    row->addWidget(button("pause.fill", "Pause", &QovClassicToolbar::onPause));
    row->addWidget(button("play.fill", "Play", &QovClassicToolbar::onPlay));
    row->addWidget(button("backward.end.fill", "Previous", &QovClassicToolbar::onPrev));
    row->addWidget(button("forward.end.fill", "Next", &QovClassicToolbar::onNext));
    row->addWidget(button("shuffle", "Random", &QovClassicToolbar::onRandom));
    row->addWidget(button("eject.fill", "Open", &QovClassicToolbar::onOpen));
    addGap(row, 10);

    auto* orderLabel = new SystemLabel(platform::SystemColor::SecondaryLabel);
    orderLabel->setText(QStringLiteral("Order"));
    orderLabel->setFont(platform::SystemFont::ofSize(platform::SystemFont::kRegularSize));
    orderLabel->setMinimumWidth(orderLabel->sizeHint().width());
    row->addWidget(orderLabel);

    _order = new QComboBox;
    _order->setFont(platform::SystemFont::ofSize(platform::SystemFont::kSmallSize));
    _order->setAccessibleName(QStringLiteral("Order"));
    _order->setFocusPolicy(Qt::NoFocus);
    _order->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto pm = qvn::std_api_get<playlist_manager>();
    for (size_t i = 0; i < pm->playback_order_get_count(); ++i) {
        const char* name = pm->playback_order_get_name(i);
        _order->addItem(QString::fromUtf8(name ? name : ""));
    }
    connect(_order, &QComboBox::activated, this, &QovClassicToolbar::onOrder);
    row->addWidget(_order);
    addGap(row, 14);

    _mute = button("speaker.wave.2.fill", "Mute", &QovClassicToolbar::onMute);
    row->addWidget(_mute);

    _volume = new platform::JumpSlider;
    _volume->setRange(0, kSliderSteps);
    _volume->setValue(kSliderSteps);
    _volume->setFixedWidth(140);
    _volume->setToolTip(QStringLiteral("Volume"));
    _volume->setAccessibleName(QStringLiteral("Volume"));
    _volume->setFocusPolicy(Qt::NoFocus);
    connect(_volume, &QSlider::valueChanged, this, &QovClassicToolbar::onVolume);
    row->addWidget(_volume);

    _volumePct = new SystemLabel(platform::SystemColor::SecondaryLabel);
    _volumePct->setFont(platform::SystemFont::ofSize(platform::SystemFont::kSmallSize));
    _volumePct->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _volumePct->setFixedWidth(36);
    _volumePct->setText(QStringLiteral("100%"));
    row->addWidget(_volumePct);
    row->addStretch(1);

    setView(bar);
    syncOrder();
}

void QovClassicToolbar::viewDidLoad() { _timer.start(); }

// --- Actions ---

void QovClassicToolbar::onStop() { playback()->stop(); }

void QovClassicToolbar::onPause() { playback()->pause(true); }

void QovClassicToolbar::onPlay() {
    auto pc = playback();
    if (pc->is_paused())
        pc->pause(false);
    else
        pc->start(playback_control::track_command_play, false);
}

void QovClassicToolbar::onPrev() { playback()->start(playback_control::track_command_prev, false); }

void QovClassicToolbar::onNext() { playback()->start(playback_control::track_command_next, false); }

void QovClassicToolbar::onRandom() { playback()->start(playback_control::track_command_rand, false); }

void QovClassicToolbar::onOpen() { standard_commands::run_main(standard_commands::guid_main_open); }

void QovClassicToolbar::onOrder(int index) {
    if (index >= 0) qvn::std_api_get<playlist_manager>()->playback_order_set_active(size_t(index));
}

void QovClassicToolbar::onMute() {
    playback()->volume_mute_toggle();
    syncVolume();
}

void QovClassicToolbar::onVolume() {
    auto pc = playback();
    pc->set_volume(float(volume_slider::volumeForPosition(sliderPosition())));
    _volume->setToolTip(volume_slider::volumeTip(pc->get_volume()));
    updatePercent();
}

// --- Polling ---

double QovClassicToolbar::sliderPosition() const { return double(_volume->value()) / kSliderSteps; }

void QovClassicToolbar::updatePercent() {
    const QString text = volume_slider::percentText(sliderPosition());
    if (_volumePct->text() != text) _volumePct->setText(text);
}

void QovClassicToolbar::syncVolume() {
    if (!_volume || QGuiApplication::mouseButtons() != Qt::NoButton) return;
    const double db = playback()->get_volume();
    const int value = int(std::lround(volume_slider::positionForVolume(db) * kSliderSteps));
    if (_volume->value() != value) {
        const QSignalBlocker quiet(_volume);
        _volume->setValue(value);
    }
    _mute->setSymbol(QString::fromLatin1(volume_slider::muteSymbol(db)));
    const QString tip = volume_slider::volumeTip(db);
    if (_volume->toolTip() != tip) _volume->setToolTip(tip);
    updatePercent();
}

void QovClassicToolbar::syncOrder() {
    if (!_order) return;
    const size_t active = qvn::std_api_get<playlist_manager>()->playback_order_get_active();
    if (active < size_t(_order->count()) && _order->currentIndex() != int(active))
        _order->setCurrentIndex(int(active));
}

void QovClassicToolbar::syncWindowTitle() {
    QWidget* bar = view();
    if (!bar->parentWidget()) return;
    const std::string pattern = cfg_windowTitle.get().str();
    if (pattern.empty()) return;

    QString title = kPlayerName;
    auto pc = playback();
    if (pc->is_playing()) {
        if (!_titleScript.is_valid() || pattern != _titlePattern) {
            _titleScript = qvn::std_api_get<titleformat_compiler>()->compile_safe(pattern.c_str());
            _titlePattern = pattern;
        }
        cvk::stringLite text;
        pc->playback_format_title(nullptr, text, _titleScript, nullptr,
                                  playback_control::display_level_titles);
        if (text.get_length() > 0) {
            const QString formatted = textOf(text);
            if (!formatted.isEmpty()) title = formatted;
        }
    }
    // Qt reads "[*]" as the unsaved-changes mark; doubled, it shows as itself.
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    QWidget* window = bar->window();
    if (window->windowTitle() != title) window->setWindowTitle(title);
}
