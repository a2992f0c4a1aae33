#pragma once

// The window's layout as text: one element a line, top to bottom,
//
//     NAME [key=value ...]        e.g.  waveform-seekbar time=sides
//
// with the quoting and comments of LineWords. Blank lines are ignored. A line
// that cannot be read is kept as an error with its line number; the rest of
// the layout still stands. Options that a known element does not read, or
// values it does not take, are warnings: the element is placed all the same.
// Names and words echoed in messages are shortened and made printable.
// Any thread (plain data).

#include <QList>
#include <QString>
#include <QVariantMap>

struct LayoutElement {
    int line = 0;  // 1-based
    QString name;
    // In the order written; keys are unique.
    QList<std::pair<QString, QString>> options;

    // What the element receives: every value a QString.
    QVariantMap optionMap() const;
};

struct LayoutError {
    int line = 0;
    QString message;

    // "line N: message"
    QString text() const;
};

struct LayoutText {
    // All in line order.
    QList<LayoutElement> elements;
    QList<LayoutError> errors;
    QList<LayoutError> warnings;

    // Neither an element nor a line that failed: nothing to show at all.
    bool isEmpty() const { return elements.isEmpty() && errors.isEmpty(); }

    static LayoutText parse(const QString& text);
};
