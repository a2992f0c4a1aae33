#pragma once

// The "Waveform Seekbar" preferences page: the two colours and a way back to
// the system colours. Writes through at once and tells every seekbar. Main thread.

#include "ColorWell.h"
#include "ViewController.h"

#include <QPointer>

class QovWaveSeekbarPrefs : public qvn::ViewController {
    Q_OBJECT

public:
    using qvn::ViewController::ViewController;

    platform::ColorWell* playedWell() const { return m_played; }
    platform::ColorWell* restWell() const { return m_rest; }

    void load();
    void changed(platform::ColorWell* sender);
    void reset();

protected:
    void loadView() override;

private:
    platform::ColorWell* well();

    QPointer<platform::ColorWell> m_played;
    QPointer<platform::ColorWell> m_rest;
};
