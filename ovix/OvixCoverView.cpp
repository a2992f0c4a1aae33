#include "OvixCoverView.h"

#include "SymbolImage.h"
#include "SystemColors.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal kCornerRadius = 3;

QRectF fitted(QSizeF size, const QRectF& box) {
    const QSizeF s = size.scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center() - QPointF(s.width() / 2, s.height() / 2), s);
}

}  // namespace

OvixCoverView::OvixCoverView(QWidget* parent) : QWidget(parent) { setFixedSize(80, 80); }

void OvixCoverView::setImage(const QImage& image) {
    _image = image;
    update();
}

void OvixCoverView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    p.setClipPath(clip);
    if (!_image.isNull()) {
        p.drawImage(fitted(_image.deviceIndependentSize(), rect()), _image);
        return;
    }
    // Drawn at the size it is shown, so the note stays sharp.
    const QColor tint = platform::SystemColors::color(platform::SystemColor::TertiaryLabel);
    const QImage probe = platform::symbolImage(QStringLiteral("music.note"), 20, tint);
    if (probe.isNull()) return;
    const qreal scale = qMin(width() / qreal(probe.width()), height() / qreal(probe.height()));
    const QImage note =
        platform::symbolImage(QStringLiteral("music.note"), 20 * scale, tint, devicePixelRatioF());
    p.drawImage(fitted(note.deviceIndependentSize(), rect()), note);
}
