#pragma once

// The "Classic UI" preferences page: theme, accent colour, tab close buttons,
// playlist font and row height, status bar and window title patterns. Every
// change is stored at once, applied and announced to the open Classic views;
// the controls then show what was stored (clamped). Main thread.

#include "ColorWell.h"
#include "ViewController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>

class QovClassicPrefs : public qvn::ViewController {
    Q_OBJECT

public:
    using qvn::ViewController::ViewController;

    // Settings → controls.
    void load();
    // Controls → settings, all at once.
    void changed();
    // The stepper's value into its field, then changed().
    void stepped(QSpinBox* stepper);
    // Defaults for everything on the page; columns and grouping stay.
    void reset();

    QComboBox* fontPopup() const { return _font; }
    QComboBox* themePopup() const { return _theme; }
    QCheckBox* accentCheckbox() const { return _useAccent; }
    QCheckBox* tabCloseCheckbox() const { return _tabClose; }
    platform::ColorWell* accentWell() const { return _accent; }
    QLineEdit* sizeField() const { return _size; }
    QLineEdit* heightField() const { return _height; }
    QLineEdit* leftField() const { return _left; }
    QLineEdit* rightField() const { return _right; }
    QLineEdit* windowTitleField() const { return _winTitle; }
    QSpinBox* sizeStepper() const { return _sizeStep; }
    QSpinBox* heightStepper() const { return _heightStep; }

protected:
    void loadView() override;

private:
    QLineEdit* numberField(QSpinBox** stepper, int min, int max);
    QLineEdit* patternField();

    QPointer<QComboBox> _font;
    QPointer<QComboBox> _theme;
    QPointer<QCheckBox> _useAccent;
    QPointer<QCheckBox> _tabClose;
    QPointer<platform::ColorWell> _accent;
    QPointer<QLineEdit> _size;
    QPointer<QLineEdit> _height;
    QPointer<QLineEdit> _left;
    QPointer<QLineEdit> _right;
    QPointer<QLineEdit> _winTitle;
    QPointer<QSpinBox> _sizeStep;
    QPointer<QSpinBox> _heightStep;
    QPointer<QLabel> _note;
};
