#pragma once

// Substring search that ignores letter case and diacritics, as a user typing in
// a search field expects: "beyonce" finds "Beyoncé", "RESUME" finds "résumé".
// Letters that are not a base letter plus marks stay themselves ("æ" is not
// "ae", "ø" is not "o"). Any thread.

#include "platform_export.h"

#include <QString>

namespace platform {

// The form both sides are compared in: decomposed, combining marks dropped,
// recomposed, case folded. Fold a text once when it is searched many times.
QOV_PLATFORM_API QString foldForSearch(const QString& text);

// An empty needle is contained in everything.
QOV_PLATFORM_API bool containsFolded(const QString& haystack, const QString& needle);

// For a haystack already folded with foldForSearch.
QOV_PLATFORM_API bool containsFoldedIn(const QString& foldedHaystack, const QString& needle);

}  // namespace platform
