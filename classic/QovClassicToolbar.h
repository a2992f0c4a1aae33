#pragma once

// The classic-toolbar element: transport buttons, the playback order, mute
// and a volume slider with its percent; and, as a side duty, the main
// window's title from the window-title pattern. Buttons call the player at
// once; four times a second the toolbar reads the player back and changes
// only what differs. Main thread.

#include "SymbolButton.h"
#include "SystemLabel.h"
#include "titleformat.h"
#include "ViewController.h"

#include <QComboBox>
#include <QPointer>
#include <QSlider>
#include <QTimer>

#include <string>

class QovClassicToolbar : public qvn::ViewController {
    Q_OBJECT

public:
    static constexpr int kPollMs = 250;
    // Slider positions from 0 to 1 in this many steps.
    static constexpr int kSliderSteps = 10000;

    explicit QovClassicToolbar(QObject* parent = nullptr);

    void syncOrder();
    // Not while a mouse button is held: the user may be dragging the slider.
    void syncVolume();
    void syncWindowTitle();

    void onStop();
    void onPause();
    void onPlay();
    void onPrev();
    void onNext();
    void onRandom();
    void onOpen();
    void onOrder(int index);
    void onMute();
    void onVolume();

    QComboBox* order() const { return _order; }
    SymbolButton* mute() const { return _mute; }
    QSlider* volume() const { return _volume; }
    SystemLabel* volumePercent() const { return _volumePct; }

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    SymbolButton* button(const char* symbol, const char* tip, void (QovClassicToolbar::*action)());
    double sliderPosition() const;
    void updatePercent();

    QPointer<QComboBox> _order;
    QPointer<SymbolButton> _mute;
    QPointer<QSlider> _volume;
    QPointer<SystemLabel> _volumePct;
    QTimer _timer;
    // The window-title pattern compiled, kept while the pattern stays.
    std::string _titlePattern;
    service_ptr_t<titleformat_object> _titleScript;
};
