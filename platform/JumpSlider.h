#pragma once

// A horizontal slider whose knob goes where its track is clicked, and follows
// the pointer from there while the button is held, as on the Mac; the
// platform's slider would only step a page towards the click. Main thread.

#include "platform_export.h"

#include <QSlider>

namespace platform {

class QOV_PLATFORM_API JumpSlider : public QSlider {
    Q_OBJECT

public:
    explicit JumpSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace platform
