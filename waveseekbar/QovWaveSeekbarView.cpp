#include "QovWaveSeekbarView.h"

#include "playback_control.h"
#include "QovWaveSeekbarAccessible.h"
#include "SeekbarGeometry.h"
#include "SeekbarPalette.h"
#include "SeekbarScene.h"
#include "std_api.h"
#include "SystemFont.h"
#include "WaveSeekbarSettings.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

QFont seekbarFont(wave::SeekbarFont which) {
    return platform::SystemFont::ofSize(11,
                                        which == wave::SeekbarFont::Label ? QFont::Medium : QFont::Normal);
}

}  // namespace

QovWaveSeekbarView::QovWaveSeekbarView(QWidget* parent) : QWidget(parent) {
    QovWaveSeekbarAccessible::install();
    setAccessibleName(QStringLiteral("Waveform Seekbar"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_prefsChanged = platform::NotificationCenter::defaultCenter().subscribe(
        platform::kWaveSeekbarPrefsChanged, this, [this](const platform::Notification&) { update(); });
}

void QovWaveSeekbarView::setWaveform(std::shared_ptr<const wave::Waveform> waveform) {
    m_waveform = std::move(waveform);
    update();
}

void QovWaveSeekbarView::setLength(double seconds) {
    if (seconds != m_length) {
        m_length = seconds;
        announceValue(-1);
    }
    update();
}

void QovWaveSeekbarView::setPosition(double seconds) {
    if (seconds == m_position) return;
    const double before = shownTime();
    m_position = seconds;
    if (!m_dragging) {
        update();
        announceValue(before);
    }
}

void QovWaveSeekbarView::announceValue(double before) {
    // The value is read in whole seconds: 30 events a second would drown a screen reader.
    if (!QAccessible::isActive() || std::floor(before) == std::floor(shownTime())) return;
    QAccessibleValueChangeEvent event(this, shownTime());
    QAccessible::updateAccessibility(&event);
}

void QovWaveSeekbarView::seek(double seconds) {
    qvn::std_api_get<playback_control>()->playback_seek(seconds);
    setPosition(seconds);
    update();
}

double QovWaveSeekbarView::timeForX(double x) const {
    return wave::SeekbarGeometry(width(), height(), m_sideTimes).timeForX(x, m_length);
}

void QovWaveSeekbarView::paintEvent(QPaintEvent*) {
    wave::SeekbarState state;
    state.width = width();
    state.height = height();
    state.sideTimes = m_sideTimes;
    state.position = m_position;
    state.length = m_length;
    state.dragging = m_dragging;
    state.dragPos = m_dragPos;
    state.hoverX = m_hoverX;
    state.waveform = m_waveform.get();

    const QFont fonts[] = {seekbarFont(wave::SeekbarFont::Label), seekbarFont(wave::SeekbarFont::Side)};
    const QFontMetricsF metrics[] = {QFontMetricsF(fonts[0]), QFontMetricsF(fonts[1])};
    const auto ops = wave::buildSeekbarScene(state, [&](const std::string& text, wave::SeekbarFont f) {
        const QFontMetricsF& m = metrics[int(f)];
        return QSizeF(m.horizontalAdvance(QString::fromStdString(text)), m.height());
    });
    const wave::SeekbarPalette palette(colorFromCfg(cfg_colorPlayed), colorFromCfg(cfg_colorRest),
                                       platform::SystemColors::currentAppearance());

    QPainter p(this);
    for (const wave::SeekbarOp& op : ops) {
        const QColor color = palette.color(op.role);
        switch (op.kind) {
            case wave::SeekbarOp::Fill:
                p.fillRect(op.rect, color);
                break;
            case wave::SeekbarOp::RoundedFill: {
                p.setRenderHint(QPainter::Antialiasing, true);
                QPainterPath path;
                path.addRoundedRect(op.rect, op.radius, op.radius);
                p.fillPath(path, color);
                p.setRenderHint(QPainter::Antialiasing, false);
                break;
            }
            case wave::SeekbarOp::Text: {
                const int f = int(op.font);
                p.setFont(fonts[f]);
                p.setPen(color);
                p.drawText(op.origin + QPointF(0, metrics[f].ascent()), QString::fromStdString(op.text));
                break;
            }
        }
    }
}

void QovWaveSeekbarView::mouseMoveEvent(QMouseEvent* event) {
    const double x = event->position().x();
    if (m_dragging) m_dragPos = timeForX(x);
    m_hoverX = x;
    update();
}

void QovWaveSeekbarView::leaveEvent(QEvent*) {
    m_hoverX = -1;
    update();
}

void QovWaveSeekbarView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !(m_length > 0) || !m_seekable) return;
    m_dragging = true;
    m_dragPos = timeForX(event->position().x());
    update();
}

void QovWaveSeekbarView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton) return;
    m_dragging = false;
    m_dragPos = timeForX(event->position().x());
    // One seek, on release: dragging itself never seeks.
    seek(m_dragPos);
}
