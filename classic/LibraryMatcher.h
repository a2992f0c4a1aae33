#pragma once

// The library search's matching: a query is split at white space into terms,
// and a track matches when every term occurs in its text, ignoring letter case
// and diacritics ("beyonce" finds "Beyoncé"), in any order. Each track's text
// is folded once when it is added, so a keystroke costs one plain byte search
// per term and track. Any thread, one at a time.

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class LibraryMatcher {
public:
    void clear();
    void reserve(size_t tracks, size_t bytes);
    // The track's text as the player formats it (UTF-8); text that is not
    // UTF-8 matches nothing.
    void add(std::string_view utf8);
    size_t size() const { return _ends.size(); }

    // The tracks that hold every term, in the order they were added; none
    // for a query without terms.
    std::vector<size_t> match(const QString& query) const;

    static QStringList terms(const QString& query);
    // The form texts are compared in, as UTF-8.
    static std::string fold(const QString& text);

private:
    std::string _text;            // every folded text, one after the other
    std::vector<uint32_t> _ends;  // where each track's text ends in _text
};
