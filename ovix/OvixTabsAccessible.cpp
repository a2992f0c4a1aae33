#include "OvixTabsAccessible.h"

#include "playlist_manager.h"
#include "QovOvixTabsView.h"
#include "std_api.h"

namespace {

enum class Kind { Tab, Arrow };

// One tab (index from 0) or one scroll arrow (0 left, 1 right).
class Child : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    Child(OvixTabsAccessible* parent, Kind kind, int index) : _parent(parent), _kind(kind), _index(index) {}

    bool isValid() const override {
        const QovOvixTabsView* v = view();
        if (!v) return false;
        if (_kind == Kind::Tab) return _index < v->names().size();
        return v->geometry().overflows();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return _parent->window(); }
    QAccessibleInterface* parent() const override { return _parent; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override {
        return _kind == Kind::Tab ? QAccessible::PageTab : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override {
        const QovOvixTabsView* v = view();
        if (t != QAccessible::Name || !v || !isValid()) return {};
        if (_kind == Kind::Arrow) return _index == 0 ? QStringLiteral("\u25C0") : QStringLiteral("\u25B6");
        return v->names().value(_index);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        const QovOvixTabsView* v = view();
        if (!v || !isValid()) return {};
        const QRectF local = localRect();
        // Only the visible part: scrolled-out tabs are empty.
        const QRectF visible =
            _kind == Kind::Tab ? local.intersected(QRectF(0, 0, v->geometry().visibleWidth(), v->height()))
                               : local;
        if (visible.isEmpty()) return {};
        return QRect(v->mapToGlobal(visible.topLeft().toPoint()), visible.size().toSize());
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        const QovOvixTabsView* v = view();
        if (!v || !isValid()) {
            s.invalid = true;
            return s;
        }
        if (_kind == Kind::Tab) {
            s.selectable = true;
            s.selected = v->active() == _index;
            s.active = s.selected;
        }
        if (rect().isEmpty()) {
            s.invisible = true;
            s.offscreen = true;
        }
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        QovOvixTabsView* v = view();
        if (name != pressAction() || !v || !isValid()) return;
        if (_kind == Kind::Tab)
            v->clickTab(_index);
        else
            v->clickArrow(_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QovOvixTabsView* view() const { return _parent->view(); }

    QRectF localRect() const {
        const QovOvixTabsView* v = view();
        if (_kind == Kind::Tab) return v->tabRect(_index);
        const double cell = OvixTabGeometry::kArrowCell;
        return QRectF(v->geometry().visibleWidth() + cell * _index, 0, cell, v->height());
    }

    OvixTabsAccessible* _parent;
    const Kind _kind;
    const int _index;
};

QAccessible::Id childId(QList<QAccessible::Id>& cache, int index, OvixTabsAccessible* parent, Kind kind) {
    while (cache.size() <= index) cache.append(0);
    if (!cache[index])
        cache[index] = QAccessible::registerAccessibleInterface(new Child(parent, kind, index));
    return cache[index];
}

}  // namespace

OvixTabsAccessible::OvixTabsAccessible(QovOvixTabsView* view)
    : QAccessibleWidget(view, QAccessible::PageTabList, QStringLiteral("Playlists")) {}

OvixTabsAccessible::~OvixTabsAccessible() {
    for (const QList<QAccessible::Id>* cache : {&_tabs, &_arrows})
        for (QAccessible::Id id : *cache)
            if (id) QAccessible::deleteAccessibleInterface(id);
}

QovOvixTabsView* OvixTabsAccessible::view() const { return static_cast<QovOvixTabsView*>(widget()); }

int OvixTabsAccessible::childCount() const {
    const QovOvixTabsView* v = view();
    return int(v->names().size()) + (v->geometry().overflows() ? 2 : 0);
}

QAccessibleInterface* OvixTabsAccessible::child(int index) const {
    auto* self = const_cast<OvixTabsAccessible*>(this);
    const int tabs = int(view()->names().size());
    if (index < 0 || index >= childCount()) return nullptr;
    if (index < tabs) return QAccessible::accessibleInterface(childId(_tabs, index, self, Kind::Tab));
    return QAccessible::accessibleInterface(childId(_arrows, index - tabs, self, Kind::Arrow));
}

int OvixTabsAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    const int tabs = int(view()->names().size());
    if (const int i = int(_tabs.indexOf(id)); i >= 0 && i < tabs) return i;
    if (const int i = int(_arrows.indexOf(id)); i >= 0 && view()->geometry().overflows()) return tabs + i;
    return -1;
}

QAccessibleInterface* OvixTabsAccessible::childAt(int x, int y) const {
    const QPointF local = view()->mapFromGlobal(QPoint(x, y));
    if (view()->geometry().inArrows(local)) {
        const int cell = local.x() < view()->geometry().visibleWidth() + OvixTabGeometry::kArrowCell ? 0 : 1;
        return child(int(view()->names().size()) + cell);
    }
    const int tab = view()->tabAt(local);
    return tab >= 0 ? child(tab) : nullptr;
}

namespace {

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (auto* tabs = qobject_cast<QovOvixTabsView*>(object)) return new OvixTabsAccessible(tabs);
    return nullptr;
}

// Factories are process-wide: this one goes when the bundle's code does.
struct FactoryRegistration {
    FactoryRegistration() { QAccessible::installFactory(&factory); }
    ~FactoryRegistration() { QAccessible::removeFactory(&factory); }
};

}  // namespace

void OvixTabsAccessible::install() { static FactoryRegistration registration; }
