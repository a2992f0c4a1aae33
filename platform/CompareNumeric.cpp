#include "CompareNumeric.h"

#include <QCollator>
#include <QLocale>

namespace platform {

namespace {

QCollator makeCollator(Qt::CaseSensitivity cs) {
    // Qt collates the C locale (a machine without LANG) by code units, which
    // ignores both numbers and case; such a machine gets the plain English order.
    QLocale locale;
    if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(cs);
    return collator;
}

}  // namespace

int compareNumeric(const QString& a, const QString& b) {
    // A collator is not to be shared between threads.
    thread_local const QCollator insensitive = makeCollator(Qt::CaseInsensitive);
    thread_local const QCollator sensitive = makeCollator(Qt::CaseSensitive);

    if (const int r = insensitive.compare(a, b)) return r;
    // Ties are broken, as case first, then code units: a sort keyed on this must
    // not depend on where equal-looking names happened to start.
    if (const int r = sensitive.compare(a, b)) return r;
    return a.compare(b);
}

}  // namespace platform
