#pragma once

// The tab strip as assistive technology (and the host's automation) reads it:
// a tab list whose children are the tabs (named by their titles, the active
// one selected, those scrolled out of sight invisible), each with its lock
// and close box when it has them, and the two scroll arrows while the tabs
// overflow. Main thread.

#include <QAccessibleWidget>

#include <map>
#include <utility>

class QovClassicTabsView;

class QovClassicTabsAccessible : public QAccessibleWidget {
public:
    enum class Part { Tab, Lock, Close, ScrollLeft, ScrollRight };

    explicit QovClassicTabsAccessible(QovClassicTabsView* view);
    ~QovClassicTabsAccessible() override;

    // Makes Qt build this interface for every tab strip; once is enough.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The interface of one part; `index` is its tab (0 for the arrows).
    QAccessibleInterface* part(Part part, int index) const;

private:
    QovClassicTabsView* view() const;

    mutable std::map<std::pair<Part, int>, QAccessible::Id> _parts;
};
