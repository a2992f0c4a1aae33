#pragma once

// The Ovix tab strip as screen readers and scripts see it: a tab list whose
// children are the tabs (name, selected when active, where each is drawn,
// off screen when scrolled out of sight) and, when the tabs overflow, the two
// scroll arrows. Pressing a child does what a click on it does. Main thread.

#include <QAccessibleWidget>
#include <QList>

class QovOvixTabsView;

class OvixTabsAccessible : public QAccessibleWidget {
public:
    explicit OvixTabsAccessible(QovOvixTabsView* view);
    ~OvixTabsAccessible() override;

    QovOvixTabsView* view() const;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // Makes tab strips use this interface, from the first call until the
    // bundle unloads.
    static void install();

private:
    // Children are made on demand and kept; a child whose tab has gone reports
    // itself invalid.
    mutable QList<QAccessible::Id> _tabs;
    mutable QList<QAccessible::Id> _arrows;
};
