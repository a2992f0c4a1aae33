#include "LineWords.h"

#include <algorithm>

QString shownText(QStringView text) {
    // Two UTF-16 units at most per character: enough to fill the limit.
    const QStringView head = text.first(std::min(text.size(), 2 * kShownLength));
    const QList<uint> chars = head.toUcs4();
    QString out;
    for (qsizetype i = 0; i < chars.size() && i < kShownLength; ++i) {
        const char32_t c = chars[i];
        if (QChar::isPrint(c))
            out += QString::fromUcs4(&c, 1);
        else if (c < 0x100)
            out += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u{%1}").arg(uint(c), 0, 16);
    }
    if (chars.size() > kShownLength || head.size() < text.size()) out += u'…';
    return out;
}

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
