#include "ColumnSpec.h"

#include "ClassicColumns.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const QLatin1String kCustom("custom");

// Leading blanks, a sign and digits, as a number reads from the start of a
// text; anything else ends it, and no digits read as 0.
int leadingInteger(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'), INT_MAX);
    return int(negative ? -value : value);
}

int usableWidth(int width) { return std::clamp(width, kMinColumnWidth, kMaxColumnWidth); }

}  // namespace

ColumnSpec parseColumnSpec(const QString& text) {
    ColumnSpec parsed;
    int customs = 0;
    for (const QString& line : text.split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() < 2) continue;
        if (parsed.columns.size() >= size_t(kMaxColumns)) {
            parsed.kept.append(line);
            continue;
        }
        const int width = usableWidth(leadingInteger(fields[1]));
        if (fields[0] == kCustom && fields.size() >= 4) {
            parsed.columns.push_back(
                {customIdentifier(customs++, fields[2], fields[3]), fields[2], fields[3], false, width});
            continue;
        }
        const ClassicColumn* known = findColumn(fields[0].toStdString());
        if (!known) {
            parsed.kept.append(line);
            continue;
        }
        parsed.columns.push_back({QString::fromLatin1(known->key), QString::fromUtf8(known->title),
                                  QString::fromUtf8(known->pattern), known->right, width});
    }
    return parsed;
}

QString writeColumnSpec(const std::vector<std::pair<QString, double>>& columns, const QStringList& kept) {
    QStringList lines;
    for (const auto& [identifier, width] : columns) {
        const QString w = QString::number(static_cast<long long>(std::trunc(width)));
        if (!isCustomIdentifier(identifier)) {
            lines.append(identifier + u'\t' + w);
            continue;
        }
        const auto [title, pattern] = customParts(identifier);
        lines.append(kCustom + u'\t' + w + u'\t' + title + u'\t' + pattern);
    }
    lines.append(kept);
    return lines.join(u'\n');
}

bool isCustomIdentifier(const QString& identifier) { return identifier.startsWith(kCustom); }

QString customIdentifier(int sequence, const QString& title, const QString& pattern) {
    return kCustom + QString::number(sequence) + u'\t' + title + u'\t' + pattern;
}

std::pair<QString, QString> customParts(const QString& identifier) {
    const QStringList parts = identifier.split(u'\t');
    return {parts.value(1), parts.value(2)};
}

std::optional<QString> withCustomColumn(const QString& stored, QString name, QString pattern) {
    for (QString* s : {&name, &pattern}) {
        for (QChar c : {QChar(u'\t'), QChar(u'\n'), QChar(u'\r')}) s->replace(c, u' ');
    }
    if (name.isEmpty() || pattern.isEmpty()) return std::nullopt;
    return stored + u'\n' + kCustom + u'\t' + QString::number(kCustomColumnWidth) + u'\t' + name + u'\t' +
           pattern;
}
