#pragma once

// A search typed into the playlist's search field: words separated by white
// space, each of which must occur in an item's text, ignoring case and
// diacritics ("resume" finds "Résumé"). A query of no words matches everything.

#include <QString>
#include <QStringList>

class PlaylistSearch {
public:
    explicit PlaylistSearch(const QString& query);

    bool matches(const QString& text) const;

private:
    QStringList _words;  // folded for search
};
