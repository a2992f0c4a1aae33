#include "ContainsFolded.h"

namespace platform {

QString foldForSearch(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const QChar c = decomposed.at(i);
        // Marks outside the BMP arrive as surrogate pairs; classify the code point.
        if (c.isHighSurrogate() && i + 1 < decomposed.size() &&
            decomposed.at(i + 1).isLowSurrogate()) {
            const char32_t ucs = QChar::surrogateToUcs4(c, decomposed.at(i + 1));
            if (QChar::category(ucs) != QChar::Mark_NonSpacing) {
                bare.append(c);
                bare.append(decomposed.at(i + 1));
            }
            ++i;
            continue;
        }
        if (c.category() != QChar::Mark_NonSpacing) bare.append(c);
    }
    // Recomposed so that what was never a base plus a mark (a Hangul syllable)
    // is matched whole again, not by its pieces.
    return bare.normalized(QString::NormalizationForm_C).toCaseFolded();
}

bool containsFolded(const QString& haystack, const QString& needle) {
    if (needle.isEmpty()) return true;
    return foldForSearch(haystack).contains(foldForSearch(needle));
}

bool containsFoldedIn(const QString& foldedHaystack, const QString& needle) {
    if (needle.isEmpty()) return true;
    return foldedHaystack.contains(foldForSearch(needle));
}

}  // namespace platform
