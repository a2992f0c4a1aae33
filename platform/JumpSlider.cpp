#include "JumpSlider.h"

#include <QMouseEvent>
#include <QStyleOptionSlider>

namespace platform {

void JumpSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect knob = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        if (!knob.contains(event->position().toPoint())) {
            const QRect track =
                style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
            // The knob's middle under the pointer.
            const int x = event->position().toPoint().x() - track.x() - knob.width() / 2;
            setValue(QStyle::sliderValueFromPosition(minimum(), maximum(), x, track.width() - knob.width(),
                                                     option.upsideDown));
        }
    }
    // Now on the knob, the press takes hold of it.
    QSlider::mousePressEvent(event);
}

}  // namespace platform
