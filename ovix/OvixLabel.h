#pragma once

// A one-line text label in a system colour, truncated at the tail when it gets
// less room than its text needs; screen readers get the whole text. The colour
// is looked up when drawing, so it follows the appearance. Main thread.

#include "SystemColors.h"

#include <QLabel>

class OvixLabel : public QLabel {
    Q_OBJECT

public:
    OvixLabel(const QFont& font, platform::SystemColor color, QWidget* parent = nullptr);

    platform::SystemColor color() const { return _color; }
    // Lets the label give way to its neighbours down to nothing.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::SystemColor _color;
};
