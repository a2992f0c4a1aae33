#pragma once

// The waveform bar. Holds only what its controller pushes in; the one player
// call it makes itself is the seek when a drag is released (or when assistive
// technology sets its value, see QovWaveSeekbarAccessible). Main thread.

#include "NotificationCenter.h"
#include "Waveform.h"

#include <QWidget>

#include <memory>

class QovWaveSeekbarView : public QWidget {
    Q_OBJECT

public:
    explicit QovWaveSeekbarView(QWidget* parent = nullptr);

    void setWaveform(std::shared_ptr<const wave::Waveform> waveform);
    void setLength(double seconds);
    // Redraws only on a change, and not while the user drags.
    void setPosition(double seconds);
    void setSeekable(bool seekable) { m_seekable = seekable; }
    void setSideTimes(bool sideTimes) { m_sideTimes = sideTimes; }

    const std::shared_ptr<const wave::Waveform>& waveform() const { return m_waveform; }
    double length() const { return m_length; }
    double position() const { return m_position; }
    bool seekable() const { return m_seekable; }
    bool sideTimes() const { return m_sideTimes; }
    bool isDragging() const { return m_dragging; }
    // The time the bar shows: where a drag is, else the position.
    double shownTime() const { return m_dragging ? m_dragPos : m_position; }

    // Asks the player to seek and shows the target at once.
    void seek(double seconds);

    QSize sizeHint() const override { return QSize(400, 40); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double timeForX(double x) const;
    // Tells assistive technology when the value text changes.
    void announceValue(double before);

    bool m_dragging = false;
    double m_dragPos = 0;
    double m_hoverX = -1;
    bool m_seekable = false;
    bool m_sideTimes = false;
    double m_position = 0;
    double m_length = 0;
    std::shared_ptr<const wave::Waveform> m_waveform;
    platform::Subscription m_prefsChanged;
};
