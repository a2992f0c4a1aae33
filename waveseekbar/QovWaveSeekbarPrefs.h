#pragma once

// The "Waveform Seekbar" preferences page: the two colours and a way back to
// the system colours. Writes through at once and tells every seekbar, also
// while the user tries colours in the dialog; a cancelled dialog puts the
// setting back as it was. Main thread.

#include "cfg_var.h"
#include "ColorWell.h"
#include "ViewController.h"

#include <QPointer>

#include <map>
#include <string>

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
    cfg_var_modern::cfg_string& settingOf(const platform::ColorWell* well) const;
    void browsed(platform::ColorWell* sender);
    void cancelled(platform::ColorWell* sender);

    QPointer<platform::ColorWell> m_played;
    QPointer<platform::ColorWell> m_rest;
    // Per well with its dialog open: the setting's text before the first
    // colour tried, empty text included (the system colours).
    std::map<const platform::ColorWell*, std::string> m_beforeBrowsing;
};
