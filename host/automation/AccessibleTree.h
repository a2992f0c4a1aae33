#pragma once

// What an element shows, read through Qt accessibility the way a screen
// reader reads it: the same trees serve the automation's dump and its
// `ELEMENT@TEXT` points. Each node is
//
//   role          the QAccessible::Role's name ("Slider", "Cell", ...)
//   name          its accessible name
//   value         its value text, when it has one; with a value interface
//                 also current, minimum and maximum as numbers
//   states        those of selected, checked, focused and invisible it has
//   x, y, width, height    relative to the tree's root
//   children      in order, when it has any
//   child_count   all the children there are, when some were left out
//
// Bounded so that a view of 100,000 rows dumps at once: at most kMaxChildren
// children of a node, and kMaxNodes nodes in all, in depth-first order; what
// lies beyond is left out (not looked at), which child_count then says.
//
// Main thread.

#include <QJsonObject>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>

class QAccessibleInterface;

class AccessibleTree {
public:
    static constexpr int kMaxChildren = 200;
    static constexpr int kMaxNodes = 2000;

    // Empty for a null or invalid interface.
    static QJsonObject describe(QAccessibleInterface* root);
    // The rectangle, relative to `root`, of the first node below it named
    // `name` in depth-first order; for a label of another widget (its buddy),
    // that widget's.
    static std::optional<QRectF> find(QAccessibleInterface* root, const QString& name);
    // The names below `root` in the same order, at most `limit` of them (to
    // tell a user what there is instead).
    static QStringList names(QAccessibleInterface* root, qsizetype limit);
};
