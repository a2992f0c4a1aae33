#include "LineWords.h"

LineWords LineWords::split(QStringView line) {
    LineWords out;
    LineWord word;
    bool inWord = false;
    bool quoted = false;
    auto finish = [&] {
        if (inWord) out.words.append(word);
        word = {};
        inWord = false;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < line.size() && (line[i + 1] == u'"' || line[i + 1] == u'\\')) {
                word.text += line[++i];
            } else {
                word.text += c;
            }
            continue;
        }
        if (c.isSpace()) {
            finish();
        } else if (c == u'#' && !inWord) {
            break;
        } else if (c == u'"') {
            inWord = true;
            quoted = true;
        } else {
            if (c == u'=' && word.equalsAt < 0) word.equalsAt = word.text.size();
            word.text += c;
            inWord = true;
        }
    }
    if (quoted) {
        out.error = QStringLiteral("unterminated quote");
        out.words.clear();
        return out;
    }
    finish();
    return out;
}

void LineWords::forEachLine(const QString& text, const std::function<void(int, const LineWords&)>& use,
                            const std::function<void(int, const QString&)>& fail) {
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const LineWords words = split(lines[n]);
        if (!words.error.isEmpty())
            fail(int(n) + 1, words.error);
        else if (!words.words.isEmpty())
            use(int(n) + 1, words);
    }
}
