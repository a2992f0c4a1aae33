#pragma once

// Ties one placed seekbar to playback: follows new-track and stop events,
// polls the position 30 times a second, starts and cancels scans, and feeds
// the view. Main thread.

#include "metadb_handle.h"
#include "QovWaveSeekbarView.h"
#include "ViewController.h"
#include "WaveformScan.h"

#include <QPointer>
#include <QTimer>

#include <memory>

class QovWaveSeekbarController : public qvn::ViewController {
    Q_OBJECT

public:
    explicit QovWaveSeekbarController(QObject* parent = nullptr);
    ~QovWaveSeekbarController() override;

    bool sideTimes() const { return m_sideTimes; }
    // Takes effect when the view loads.
    void setSideTimes(bool sideTimes) { m_sideTimes = sideTimes; }

    QovWaveSeekbarView* seekbarView() const { return m_wave; }
    // The scan whose results the view shows; null when none runs.
    const std::shared_ptr<wave::ScanJob>& currentJob() const { return m_job; }

    void trackChanged(const service_ptr_t<metadb_handle>& track);
    void stopped();
    void tick();

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    class PlayCallback;

    void cancelJob();

    QPointer<QovWaveSeekbarView> m_wave;
    std::unique_ptr<PlayCallback> m_cb;
    QTimer m_timer;
    std::shared_ptr<wave::ScanJob> m_job;
    bool m_sideTimes = false;
};
