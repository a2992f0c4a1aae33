#pragma once

// The playlist's columns as stored text: one line per column in display
// order, fields separated by tabs. A built-in column is "key TAB width"; a
// custom one "custom TAB width TAB title TAB pattern".
//
// In the table a custom column is named "customN TAB title TAB pattern" (N
// counts the custom columns of one load from 0), so that saving finds its
// title and pattern again.
//
// Lines this version cannot show are kept and written back after the shown
// columns, so that a later version's columns survive a visit to this one.

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

inline constexpr const char* kDefaultColumnSpec =
    "playing\t60\nartistalbum\t250\ntitleartist\t400\nduration\t60\nplaycount\t70\npath\t450";
inline constexpr int kMinColumnWidth = 20;
// Wider than any screen; a stored width past it is someone's typo.
inline constexpr int kMaxColumnWidth = 10000;
// More would only come from a damaged setting; the rest of its lines are kept.
inline constexpr int kMaxColumns = 256;
inline constexpr int kCustomColumnWidth = 150;

struct SpecColumn {
    QString identifier;
    QString title;
    QString pattern;  // empty: the column has no script
    bool right = false;
    int width = kMinColumnWidth;
};

struct ColumnSpec {
    std::vector<SpecColumn> columns;
    QStringList kept;  // lines not shown, in their order
};

ColumnSpec parseColumnSpec(const QString& text);

// `columns`: identifier and current width, in display order.
QString writeColumnSpec(const std::vector<std::pair<QString, double>>& columns, const QStringList& kept);

bool isCustomIdentifier(const QString& identifier);
QString customIdentifier(int sequence, const QString& title, const QString& pattern);
// Title and pattern of a custom column's identifier.
std::pair<QString, QString> customParts(const QString& identifier);

// `stored` with a custom column appended; none when the name or the pattern
// is empty. Tabs and line breaks become spaces: they would split the line.
std::optional<QString> withCustomColumn(const QString& stored, QString name, QString pattern);
