#include "QovClassicTabsAccessible.h"

#include "QovClassicTabsView.h"

#include <QPointer>

namespace {

using Part = QovClassicTabsAccessible::Part;
using Strip = TabStripLayout;

class PartAccessible : public QAccessibleInterface {
public:
    PartAccessible(QovClassicTabsView* view, Part part, int index)
        : _view(view), _part(part), _index(index) {}

    bool isValid() const override {
        if (!_view) return false;
        if (_part == Part::ScrollLeft || _part == Part::ScrollRight) return _view->strip().overflows();
        return _index < int(_view->names().size());
    }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        if (_part == Part::Lock || _part == Part::Close) return strip()->part(Part::Tab, _index);
        return QAccessible::queryAccessibleInterface(_view);
    }
    int childCount() const override { return int(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<Part> parts = children();
        if (index < 0 || index >= int(parts.size())) return nullptr;
        return strip()->part(parts[size_t(index)], _index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<Part> parts = children();
        for (size_t k = 0; k < parts.size(); ++k)
            if (strip()->part(parts[k], _index) == child) return int(k);
        return -1;
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) return {};
        switch (_part) {
            case Part::Tab:
                return tabTitle(_view->names()[_index]);
            case Part::Lock:
                return QStringLiteral("Locked");
            case Part::Close:
                return QStringLiteral("Close");
            case Part::ScrollLeft:
                return QStringLiteral("Scroll Tabs Left");
            case Part::ScrollRight:
                return QStringLiteral("Scroll Tabs Right");
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRectF r = local();
        return {_view->mapToGlobal(r.topLeft().toPoint()), r.size().toSize()};
    }
    QAccessible::Role role() const override {
        switch (_part) {
            case Part::Tab:
                return QAccessible::PageTab;
            case Part::Lock:
                return QAccessible::Graphic;
            default:
                return QAccessible::Button;
        }
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        if (_part == Part::Tab) {
            s.selectable = true;
            s.selected = _index == _view->active();
        }
        s.invisible = !shown();
        return s;
    }

private:
    QovClassicTabsAccessible* strip() const {
        return static_cast<QovClassicTabsAccessible*>(QAccessible::queryAccessibleInterface(_view));
    }
    std::vector<Part> children() const {
        if (_part != Part::Tab || !isValid()) return {};
        std::vector<Part> parts;
        const bool locked = _view->isLocked(_index);
        if (locked) parts.push_back(Part::Lock);
        if (_view->strip().closeButtons() && !locked) parts.push_back(Part::Close);
        return parts;
    }
    // View coordinates: the visible part of a tab, or all of it when it is
    // scrolled out of sight.
    QRectF local() const {
        const Strip& s = _view->strip();
        const double scroll = s.scroll();
        switch (_part) {
            case Part::Tab: {
                const QRectF shown = s.visibleRectOf(_index);
                return shown.isEmpty() ? s.rectOf(_index).translated(-scroll, 0) : shown;
            }
            case Part::Lock:
                return s.lockRectOf(_index).translated(-scroll, 0);
            case Part::Close:
                return s.closeRectOf(_index).translated(-scroll, 0);
            case Part::ScrollLeft:
                return {s.visibleWidth(), 0, Strip::kArrowWidth, s.height()};
            case Part::ScrollRight:
                return {s.visibleWidth() + Strip::kArrowWidth, 0, Strip::kArrowWidth, s.height()};
        }
        return {};
    }
    bool shown() const {
        if (_part == Part::ScrollLeft || _part == Part::ScrollRight) return true;
        const QRectF r = local();
        const bool inSight = r.right() > 0 && r.left() < _view->strip().visibleWidth();
        // The close box answers clicks anywhere, but shows on the hovered tab only.
        if (_part == Part::Close) return inSight && _view->hover() == _index;
        return inSight;
    }

    QPointer<QovClassicTabsView> _view;
    Part _part;
    int _index;
};

QAccessibleInterface* tabsFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QovClassicTabsView")) return nullptr;
    auto* view = qobject_cast<QovClassicTabsView*>(object);
    return view ? new QovClassicTabsAccessible(view) : nullptr;
}

// Qt keeps the factory by its address, which lies in this bundle: it goes
// when the bundle is unloaded (static destructors run then).
struct FactoryRegistration {
    FactoryRegistration() { QAccessible::installFactory(tabsFactory); }
    ~FactoryRegistration() { QAccessible::removeFactory(tabsFactory); }
};

}  // namespace

QovClassicTabsAccessible::QovClassicTabsAccessible(QovClassicTabsView* view)
    : QAccessibleWidget(view, QAccessible::PageTabList) {}

QovClassicTabsAccessible::~QovClassicTabsAccessible() {
    for (const auto& [key, id] : _parts) QAccessible::deleteAccessibleInterface(id);
}

void QovClassicTabsAccessible::install() { static const FactoryRegistration registration; }

QovClassicTabsView* QovClassicTabsAccessible::view() const {
    return static_cast<QovClassicTabsView*>(widget());
}

int QovClassicTabsAccessible::childCount() const {
    return int(view()->names().size()) + (view()->strip().overflows() ? 2 : 0);
}

QAccessibleInterface* QovClassicTabsAccessible::child(int index) const {
    const int tabs = int(view()->names().size());
    if (index < 0 || index >= childCount()) return nullptr;
    if (index < tabs) return part(Part::Tab, index);
    return part(index == tabs ? Part::ScrollLeft : Part::ScrollRight, 0);
}

int QovClassicTabsAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < childCount(); ++i)
        if (this->child(i) == child) return i;
    return -1;
}

QAccessibleInterface* QovClassicTabsAccessible::childAt(int x, int y) const {
    const QPointF p = view()->mapFromGlobal(QPoint(x, y));
    switch (view()->strip().arrowAt(p)) {
        case TabStripLayout::Arrow::Left:
            return part(Part::ScrollLeft, 0);
        case TabStripLayout::Arrow::Right:
            return part(Part::ScrollRight, 0);
        case TabStripLayout::Arrow::None:
            break;
    }
    const int tab = view()->strip().tabAt(p);
    return tab < 0 ? nullptr : part(Part::Tab, tab);
}

QAccessibleInterface* QovClassicTabsAccessible::part(Part part, int index) const {
    QAccessible::Id& id = _parts[{part, index}];
    if (!id) id = QAccessible::registerAccessibleInterface(new PartAccessible(view(), part, index));
    return QAccessible::accessibleInterface(id);
}
