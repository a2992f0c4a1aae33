#include "QovWaveSeekbarAccessible.h"

#include "QovWaveSeekbarView.h"
#include "SeekbarGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

QAccessibleInterface* seekbarFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QovWaveSeekbarView")) return nullptr;
    auto* view = qobject_cast<QovWaveSeekbarView*>(object);
    return view ? new QovWaveSeekbarAccessible(view) : nullptr;
}

// Qt keeps the factory by its address, which lies in this bundle: it goes
// when the bundle is unloaded (static destructors run then).
struct FactoryRegistration {
    FactoryRegistration() { QAccessible::installFactory(seekbarFactory); }
    ~FactoryRegistration() { QAccessible::removeFactory(seekbarFactory); }
};

}  // namespace

QovWaveSeekbarAccessible::QovWaveSeekbarAccessible(QovWaveSeekbarView* view)
    : QAccessibleWidget(view, QAccessible::Slider) {}

void QovWaveSeekbarAccessible::install() { static const FactoryRegistration registration; }

QovWaveSeekbarView* QovWaveSeekbarAccessible::view() const {
    return static_cast<QovWaveSeekbarView*>(widget());
}

QString QovWaveSeekbarAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Value) return QAccessibleWidget::text(t);
    const QovWaveSeekbarView* v = view();
    if (!(v->length() > 0)) return {};
    return QStringLiteral("%1 of %2")
        .arg(QString::fromStdString(wave::formatTime(v->shownTime())),
             QString::fromStdString(wave::formatTime(v->length())));
}

void* QovWaveSeekbarAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant QovWaveSeekbarAccessible::currentValue() const { return view()->shownTime(); }

void QovWaveSeekbarAccessible::setCurrentValue(const QVariant& value) {
    QovWaveSeekbarView* v = view();
    bool ok = false;
    const double seconds = value.toDouble(&ok);
    // As with a click: nothing when there is nowhere to go.
    if (!ok || !std::isfinite(seconds) || !(v->length() > 0) || !v->seekable() || v->isDragging()) return;
    v->seek(std::clamp(seconds, 0.0, v->length()));
}

QVariant QovWaveSeekbarAccessible::maximumValue() const { return std::max(0.0, view()->length()); }

QVariant QovWaveSeekbarAccessible::minimumValue() const { return 0.0; }

// Any time may be chosen.
QVariant QovWaveSeekbarAccessible::minimumStepSize() const { return 0.0; }
