#include "LayoutText.h"

#include "LineWords.h"

#include <algorithm>
#include <map>

QVariantMap LayoutElement::optionMap() const {
    QVariantMap map;
    for (const auto& [key, value] : options) map.insert(key, value);
    return map;
}

QString LayoutError::text() const { return QStringLiteral("line %1: %2").arg(line).arg(message); }

namespace {

struct KnownOption {
    QString key;
    QStringList values;
};

// The elements of the components this host ships, with the options each one
// reads. Others (a third party's, the tests' fixtures) are not checked.
const std::map<QString, QList<KnownOption>>& knownElements() {
    static const std::map<QString, QList<KnownOption>> known{
        {QStringLiteral("waveform-seekbar"), {{QStringLiteral("time"), {QStringLiteral("sides")}}}},
        {QStringLiteral("Waveform Seekbar"), {{QStringLiteral("time"), {QStringLiteral("sides")}}}},
        {QStringLiteral("classic-toolbar"), {}},
        {QStringLiteral("classic-tabs"), {}},
        {QStringLiteral("classic-playlist"), {}},
        {QStringLiteral("classic-statusbar"), {}},
        {QStringLiteral("ovix-header"), {}},
        {QStringLiteral("ovix-tabs"), {}},
        {QStringLiteral("ovix-playlist"), {}},
        {QStringLiteral("ovix-footer"), {}},
    };
    return known;
}

QString quoted(QStringView text) { return u'"' + shownText(text) + u'"'; }

// Empty when the line is usable.
QString readLine(const LineWords& words, LayoutElement& element) {
    const LineWord& first = words.words.first();
    if (first.equalsAt >= 0)
        return QStringLiteral("expected an element name first, got the option %1").arg(quoted(first.text));
    if (first.text.isEmpty()) return QStringLiteral("empty element name");
    element.name = first.text;
    for (qsizetype i = 1; i < words.words.size(); ++i) {
        const LineWord& w = words.words[i];
        if (w.equalsAt < 0) return QStringLiteral("expected key=value, got %1").arg(quoted(w.text));
        const QString key = w.text.left(w.equalsAt);
        if (key.isEmpty()) return QStringLiteral("option without a key: %1").arg(quoted(w.text));
        for (const auto& [seen, value] : element.options)
            if (seen == key) return QStringLiteral("option %1 given twice").arg(quoted(key));
        element.options.append({key, w.text.mid(w.equalsAt + 1)});
    }
    return {};
}

// What a known element would not understand in its options.
QStringList checkOptions(const LayoutElement& element) {
    const auto known = knownElements().find(element.name);
    if (known == knownElements().end()) return {};
    const QList<KnownOption>& options = known->second;
    const QString name = shownText(element.name);
    QStringList out;
    for (const auto& given : element.options) {
        const QString& key = given.first;
        const QString& value = given.second;
        const auto option =
            std::find_if(options.begin(), options.end(), [&](const KnownOption& o) { return o.key == key; });
        if (option == options.end()) {
            QStringList keys;
            for (const KnownOption& o : options) keys.append(o.key);
            out.append(keys.isEmpty()
                           ? QStringLiteral("%1 takes no options; ignoring %2").arg(name, quoted(key))
                           : QStringLiteral("%1 has no option %2 (it has: %3); ignoring it")
                                 .arg(name, quoted(key), keys.join(QStringLiteral(", "))));
        } else if (!option->values.contains(value)) {
            out.append(QStringLiteral("%1: %2 is not a value of %3 (expected: %4); ignoring it")
                           .arg(name, quoted(value), key, option->values.join(QStringLiteral(", "))));
        }
    }
    return out;
}

}  // namespace

LayoutText LayoutText::parse(const QString& text) {
    LayoutText out;
    LineWords::forEachLine(
        text,
        [&out](int lineNumber, const LineWords& words) {
            LayoutElement element;
            element.line = lineNumber;
            if (const QString problem = readLine(words, element); !problem.isEmpty()) {
                out.errors.append({lineNumber, problem});
                return;
            }
            for (const QString& warning : checkOptions(element)) out.warnings.append({lineNumber, warning});
            out.elements.append(std::move(element));
        },
        [&out](int lineNumber, const QString& error) {
            out.errors.append({lineNumber, error});
        });
    return out;
}
