#include "QovClassicStatusbar.h"

#include "Alert.h"
#include "SystemFont.h"
#include "ClassicSettings.h"
#include "DisplayText.h"
#include "playback_control.h"
#include "StatusText.h"
#include "std_api.h"
#include "SystemLabel.h"
#include "titleformat.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>

namespace {

const QString kStopped = QStringLiteral("Stopped.");
const QString kPausedPrefix = QStringLiteral("Paused \u00B7 ");

void setText(SystemLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

}  // namespace

QovClassicStatusbar::QovClassicStatusbar(QObject* parent) : qvn::ViewController(parent) {
    _timer.setInterval(kPollMs);
    connect(&_timer, &QTimer::timeout, this, &QovClassicStatusbar::refresh);
}

SystemLabel* QovClassicStatusbar::label() {
    auto* l = new SystemLabel(platform::SystemColor::SecondaryLabel);
    l->setFont(platform::SystemFont::ofSize(platform::SystemFont::kSmallSize));
    return l;
}

void QovClassicStatusbar::loadView() {
    _left = label();
    // Ignored: the right text gets its width first, the left one is cut.
    _left->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    _right = label();
    _right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* bar = new QWidget;
    bar->setAccessibleName(QStringLiteral("Classic Status Bar"));
    bar->setFixedHeight(20);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 2, 8, 2);
    row->setSpacing(8);
    row->addWidget(_left, 1);
    row->addWidget(_right);

    _menu = new QMenu(bar);
    _menu->addAction(QStringLiteral("Edit Status Bar Format\u2026"), this, &QovClassicStatusbar::editFormat);
    _menu->addAction(QStringLiteral("Reset to Default"), this, &QovClassicStatusbar::resetFormat);
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this,
            [this, bar](const QPoint& at) { _menu->exec(bar->mapToGlobal(at)); });

    setView(bar);
    refresh();
}

void QovClassicStatusbar::viewDidLoad() { _timer.start(); }

QMenu* QovClassicStatusbar::contextMenu() {
    view();
    return _menu;
}

QString QovClassicStatusbar::renderStatus(const std::string& pattern, bool playing) {
    auto pc = qvn::std_api_get<playback_control>();
    const std::string volume = status_text::volumeText(pc->get_volume());
    if (!playing) return QString::fromStdString(status_text::stoppedText(pattern, volume));

    const std::string withVolume = status_text::withVolume(pattern, volume);
    const auto script = qvn::std_api_get<titleformat_compiler>()->compile_safe(withVolume.c_str());
    cvk::stringLite text;
    pc->playback_format_title(nullptr, text, script, nullptr, playback_control::display_level_all);
    return textOf(text);
}

void QovClassicStatusbar::refresh() {
    if (!_left) return;
    auto pc = qvn::std_api_get<playback_control>();
    const bool playing = pc->is_playing();
    QString left = kStopped;
    if (playing) {
        left = renderStatus(cfg_statusLeft.get().str(), true);
        if (pc->is_paused()) left.prepend(kPausedPrefix);
    }
    setText(_left, left);
    setText(_right, renderStatus(cfg_statusRight.get().str(), playing));
}

void QovClassicStatusbar::editFormat() {
    auto* accessory = new QWidget;
    accessory->setFixedSize(460, 52);
    auto* left = new QLineEdit(QString::fromUtf8(cfg_statusLeft.get().get_ptr()), accessory);
    left->setPlaceholderText(QStringLiteral("Left"));
    left->setGeometry(0, 0, 460, 22);
    auto* right = new QLineEdit(QString::fromUtf8(cfg_statusRight.get().get_ptr()), accessory);
    right->setPlaceholderText(QStringLiteral("Right"));
    right->setGeometry(0, 30, 460, 22);

    platform::Alert alert;
    alert.setMessageText(QStringLiteral("Status bar format"));
    alert.setInformativeText(
        QStringLiteral("Title formatting, e.g. %codec% %bitrate%kbps \u00A4 %playback_time%[ / %length%]. "
                       "Use %volume% for the volume."));
    alert.addButton(QStringLiteral("OK"));
    alert.addButton(QStringLiteral("Cancel"));
    alert.setAccessoryView(accessory);
    alert.setInitialFocus(left);
    QPointer<QovClassicStatusbar> self(this);
    QPointer<QLineEdit> leftField(left), rightField(right);
    alert.show(view(), [self, leftField, rightField](int answer) {
        if (answer != platform::Alert::kFirstButton || !leftField || !rightField) return;
        cfg_statusLeft.set(leftField->text().toUtf8().constData());
        cfg_statusRight.set(rightField->text().toUtf8().constData());
        if (self) self->refresh();
    });
}

void QovClassicStatusbar::resetFormat() {
    cfg_statusLeft.set(kDefaultStatusLeft);
    cfg_statusRight.set(kDefaultStatusRight);
    refresh();
}
