#include "LibraryMatcher.h"

#include "ContainsFolded.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
}

}  // namespace

void LibraryMatcher::clear() {
    _text.clear();
    _ends.clear();
}

void LibraryMatcher::reserve(size_t tracks, size_t bytes) {
    _ends.reserve(tracks);
    _text.reserve(bytes);
}

std::string LibraryMatcher::fold(const QString& text) { return platform::foldForSearch(text).toStdString(); }

void LibraryMatcher::add(std::string_view utf8) {
    if (isAscii(utf8)) {
        // Most of a library: folding plain ASCII is lower case, no more.
        for (char c : utf8) _text.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    } else {
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decode(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
        if (!decode.hasError()) _text += fold(text);
    }
    _ends.push_back(uint32_t(_text.size()));
}

QStringList LibraryMatcher::terms(const QString& query) {
    QStringList out;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= query.size(); ++i) {
        const bool space = i == query.size() || query.at(i).isSpace();
        if (space && start >= 0) {
            out.append(query.mid(start, i - start));
            start = -1;
        } else if (!space && start < 0) {
            start = i;
        }
    }
    return out;
}

std::vector<size_t> LibraryMatcher::match(const QString& query) const {
    std::vector<size_t> found;
    std::vector<std::string> needles;
    for (const QString& term : terms(query)) needles.push_back(fold(term));
    if (needles.empty()) return found;
    // A term that folds to nothing (a lone combining mark) is in every text.
    std::erase_if(needles, [](const std::string& n) { return n.empty(); });

    const char* base = _text.data();
    uint32_t start = 0;
    for (size_t track = 0; track < _ends.size(); ++track) {
        const uint32_t end = _ends[track];
        const bool all = std::all_of(needles.begin(), needles.end(), [&](const std::string& n) {
            return memmem(base + start, end - start, n.data(), n.size()) != nullptr;
        });
        if (all) found.push_back(track);
        start = end;
    }
    return found;
}
