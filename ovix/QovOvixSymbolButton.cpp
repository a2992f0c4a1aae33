#include "QovOvixSymbolButton.h"

#include "OvixStyle.h"
#include "SymbolImage.h"

#include <QPainter>

namespace {

// Room around the symbol for the pressed look.
constexpr int kPadding = 2;

}  // namespace

QovOvixSymbolButton::QovOvixSymbolButton(const QString& symbol, qreal pointSize, const QString& text,
                                         QWidget* parent)
    : QAbstractButton(parent), _symbol(symbol), _pointSize(pointSize) {
    setAccessibleName(text);
    setToolTip(text);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Toggled from outside (an accessibility toggle): ask, as a click does.
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (_settingState) return;
        setHighlighted(!on);
        emit clicked(on);
    });
}

void QovOvixSymbolButton::setHighlighted(bool on) {
    _settingState = true;
    setChecked(on);
    _settingState = false;
}

void QovOvixSymbolButton::setSymbol(const QString& symbol) {
    if (symbol == _symbol) return;
    _symbol = symbol;
    updateGeometry();
    update();
}

void QovOvixSymbolButton::setTint(platform::SystemColor tint) {
    if (tint == _tint) return;
    _tint = tint;
    update();
}

QColor QovOvixSymbolButton::currentColor() const {
    return isChecked() ? ovixAccent() : platform::SystemColors::color(_tint);
}

QSize QovOvixSymbolButton::sizeHint() const {
    const QImage image = platform::symbolImage(_symbol, _pointSize, Qt::black);
    return image.size() + QSize(2 * kPadding, 2 * kPadding);
}

void QovOvixSymbolButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QColor color = currentColor();
    if (isDown()) color.setAlphaF(color.alphaF() * 0.55f);
    const QImage image = platform::symbolImage(_symbol, _pointSize, color, devicePixelRatioF());
    if (image.isNull()) return;
    const QSizeF size = image.deviceIndependentSize();
    p.drawImage(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), image);
}
