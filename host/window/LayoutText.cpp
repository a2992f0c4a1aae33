#include "LayoutText.h"

#include "LineWords.h"

QVariantMap LayoutElement::optionMap() const {
    QVariantMap map;
    for (const auto& [key, value] : options) map.insert(key, value);
    return map;
}

QString LayoutError::text() const { return QStringLiteral("line %1: %2").arg(line).arg(message); }

namespace {

// Empty when the line is usable.
QString readLine(const LineWords& words, LayoutElement& element) {
    const LineWord& first = words.words.first();
    if (first.equalsAt >= 0)
        return QStringLiteral("expected an element name first, got the option \"%1\"").arg(first.text);
    if (first.text.isEmpty()) return QStringLiteral("empty element name");
    element.name = first.text;
    for (qsizetype i = 1; i < words.words.size(); ++i) {
        const LineWord& w = words.words[i];
        if (w.equalsAt < 0) return QStringLiteral("expected key=value, got \"%1\"").arg(w.text);
        const QString key = w.text.left(w.equalsAt);
        if (key.isEmpty()) return QStringLiteral("option without a key: \"%1\"").arg(w.text);
        for (const auto& [seen, value] : element.options)
            if (seen == key) return QStringLiteral("option \"%1\" given twice").arg(key);
        element.options.append({key, w.text.mid(w.equalsAt + 1)});
    }
    return {};
}

}  // namespace

LayoutText LayoutText::parse(const QString& text) {
    LayoutText out;
    LineWords::forEachLine(
        text,
        [&out](int lineNumber, const LineWords& words) {
            LayoutElement element;
            element.line = lineNumber;
            if (const QString problem = readLine(words, element); !problem.isEmpty())
                out.errors.append({lineNumber, problem});
            else
                out.elements.append(std::move(element));
        },
        [&out](int lineNumber, const QString& error) { out.errors.append({lineNumber, error}); });
    return out;
}
