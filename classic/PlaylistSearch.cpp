#include "PlaylistSearch.h"

#include "ContainsFolded.h"

#include <QRegularExpression>

#include <algorithm>

PlaylistSearch::PlaylistSearch(const QString& query) {
    static const QRegularExpression kSpace(QStringLiteral("\\s+"));
    for (const QString& word : query.split(kSpace, Qt::SkipEmptyParts))
        _words.append(platform::foldForSearch(word));
}

bool PlaylistSearch::matches(const QString& text) const {
    const QString folded = platform::foldForSearch(text);
    return std::all_of(_words.begin(), _words.end(),
                       [&](const QString& word) { return folded.contains(word); });
}
