#pragma once

// Splits one line of the host's little text formats (layouts, scripts) into
// words. Words are separated by blanks; double quotes keep blanks inside a word
// and take \" and \\ as escapes; a `#` at the start of a word outside quotes
// ends the line (so `color=#FF0000` keeps its `#`). Any thread.

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

struct LineWord {
    QString text;
    // Index in `text` of the first `=` outside quotes; -1 when none.
    qsizetype equalsAt = -1;
};

// `text` fit to be echoed in a message: at most kShownLength characters, the
// rest cut off with "…", characters that do not print as \xNN or \u{N}
// (bytes that were no UTF-8 already read as U+FFFD). A file of junk given as
// a name stays one short line.
QString shownText(QStringView text);
inline constexpr qsizetype kShownLength = 120;

struct LineWords {
    QList<LineWord> words;
    // Empty when the line is well formed.
    QString error;

    static LineWords split(QStringView line);

    // Each line of `text` that has words goes to `use`, each malformed one to
    // `fail`, with its number counted from 1; blank and comment lines to neither.
    static void forEachLine(const QString& text, const std::function<void(int, const LineWords&)>& use,
                            const std::function<void(int, const QString&)>& fail);
};
