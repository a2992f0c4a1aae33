#pragma once

// A one-line label in one of the system's text colours, following the
// appearance, whose text is cut at the tail with an ellipsis when it does not
// fit; screen readers still read it whole. Main thread.

#include "SystemColors.h"

#include <QLabel>

class SystemLabel : public QLabel {
    Q_OBJECT

public:
    explicit SystemLabel(platform::SystemColor color, QWidget* parent = nullptr);

    // Narrower than its text is allowed: the text is then cut.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::SystemColor _color;
};
