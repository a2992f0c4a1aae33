#include "FormatByteCount.h"

#include <array>

namespace platform {

namespace {

struct Unit {
    const char* name;
    int decimals;
};

// Index = power of 1000.
constexpr std::array<Unit, 7> kUnits{{
    {"bytes", 0},
    {"KB", 0},
    {"MB", 1},
    {"GB", 2},
    {"TB", 2},
    {"PB", 2},
    {"EB", 2},
}};

constexpr quint64 pow10(int n) {
    quint64 r = 1;
    while (n-- > 0) r *= 10;
    return r;
}

// n / d to the nearest integer, halves to even, in integers so that 1.25 MB
// rounds the same way on every machine.
quint64 divideRounded(quint64 n, quint64 d) {
    const quint64 q = n / d;
    const quint64 r = n % d;
    if (r > d - r || (r == d - r && (q & 1))) return q + 1;
    return q;
}

}  // namespace

QString formatByteCount(qint64 bytes) {
    if (bytes == 0) return QStringLiteral("Zero KB");
    const QString sign = bytes < 0 ? QStringLiteral("-") : QString();
    // Negating the most negative count would overflow; its magnitude fits here.
    const quint64 magnitude = bytes < 0 ? quint64(0) - quint64(bytes) : quint64(bytes);
    if (magnitude < 1000)
        return sign + QString::number(magnitude) +
               (magnitude == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));

    int unit = 1;
    while (unit + 1 < int(kUnits.size()) && magnitude >= pow10(3 * (unit + 1))) ++unit;

    // The value in steps of the unit's last shown decimal.
    auto stepsIn = [magnitude](int u) {
        return divideRounded(magnitude, pow10(3 * u - kUnits[u].decimals));
    };
    quint64 steps = stepsIn(unit);
    // 999,999 bytes would round to "1000 KB": that is 1 MB.
    if (unit + 1 < int(kUnits.size()) && steps >= 1000 * pow10(kUnits[unit].decimals)) {
        ++unit;
        steps = stepsIn(unit);
    }

    const quint64 scale = pow10(kUnits[unit].decimals);
    QString text = QString::number(steps / scale);
    QString fraction =
        scale > 1
            ? QString::number(steps % scale).rightJustified(kUnits[unit].decimals, QLatin1Char('0'))
            : QString();
    while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    if (!fraction.isEmpty()) text += QLatin1Char('.') + fraction;
    return sign + text + QLatin1Char(' ') + QLatin1String(kUnits[unit].name);
}

}  // namespace platform
