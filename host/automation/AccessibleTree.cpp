#include "AccessibleTree.h"

#include <QAccessible>
#include <QJsonArray>
#include <QLabel>
#include <QMetaEnum>

#include <algorithm>

namespace {

struct Walk {
    int nodesLeft = AccessibleTree::kMaxNodes;
};

// Calls `visit` with each child of `node` within the bounds until it answers
// false; returns how many children `node` has in all.
template <class Visit>
int forChildren(QAccessibleInterface* node, Walk& walk, Visit&& visit) {
    // Item views keep their cells' interfaces only as fresh as the events of an
    // active assistive technology; without one (offscreen, or no screen
    // reader) they go stale as rows change, so they are dropped before a read.
    if (QAccessibleTableInterface* table = node->tableInterface(); table && !QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent reset(node, QAccessibleTableModelChangeEvent::ModelReset);
        table->modelChange(&reset);
    }
    const int count = node->childCount();
    const int shown = std::min(count, AccessibleTree::kMaxChildren);
    for (int i = 0; i < shown && walk.nodesLeft > 0; ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || !child->isValid()) continue;
        --walk.nodesLeft;
        if (!visit(child)) break;
    }
    return count;
}

QString roleName(QAccessible::Role role) {
    const char* key = QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
    return key ? QString::fromLatin1(key) : QString::number(int(role));
}

QJsonValue number(const QVariant& v) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? QJsonValue(d) : QJsonValue(QJsonValue::Null);
}

QJsonObject nodeOf(QAccessibleInterface* node, QPointF origin, Walk& walk) {
    QJsonObject o{{QStringLiteral("role"), roleName(node->role())},
                  {QStringLiteral("name"), node->text(QAccessible::Name)}};
    const QString value = node->text(QAccessible::Value);
    if (!value.isEmpty()) o[QStringLiteral("value")] = value;
    if (QAccessibleValueInterface* v = node->valueInterface()) {
        o[QStringLiteral("current")] = number(v->currentValue());
        o[QStringLiteral("minimum")] = number(v->minimumValue());
        o[QStringLiteral("maximum")] = number(v->maximumValue());
    }

    const QAccessible::State state = node->state();
    QJsonArray states;
    if (state.selected) states.append(QStringLiteral("selected"));
    if (state.checked) states.append(QStringLiteral("checked"));
    if (state.focused) states.append(QStringLiteral("focused"));
    if (state.invisible) states.append(QStringLiteral("invisible"));
    if (!states.isEmpty()) o[QStringLiteral("states")] = states;

    const QRectF r = QRectF(node->rect()).translated(-origin);
    o[QStringLiteral("x")] = r.x();
    o[QStringLiteral("y")] = r.y();
    o[QStringLiteral("width")] = r.width();
    o[QStringLiteral("height")] = r.height();

    QJsonArray children;
    const int count = forChildren(node, walk, [&](QAccessibleInterface* child) {
        children.append(nodeOf(child, origin, walk));
        return true;
    });
    if (!children.isEmpty()) o[QStringLiteral("children")] = children;
    if (children.size() < count) o[QStringLiteral("child_count")] = count;
    return o;
}

QAccessibleInterface* firstNamed(QAccessibleInterface* node, const QString& name, Walk& walk) {
    QAccessibleInterface* found = nullptr;
    forChildren(node, walk, [&](QAccessibleInterface* child) {
        found = child->text(QAccessible::Name) == name ? child : firstNamed(child, name, walk);
        return !found;
    });
    return found;
}

void collectNames(QAccessibleInterface* node, qsizetype limit, Walk& walk, QStringList& out) {
    forChildren(node, walk, [&](QAccessibleInterface* child) {
        const QString name = child->text(QAccessible::Name);
        if (!name.isEmpty()) out.append(name);
        if (out.size() < limit) collectNames(child, limit, walk, out);
        return out.size() < limit;
    });
}

bool usable(QAccessibleInterface* root) { return root && root->isValid(); }

}  // namespace

QJsonObject AccessibleTree::describe(QAccessibleInterface* root) {
    if (!usable(root)) return {};
    Walk walk;
    return nodeOf(root, root->rect().topLeft(), walk);
}

std::optional<QRectF> AccessibleTree::find(QAccessibleInterface* root, const QString& name) {
    if (!usable(root)) return std::nullopt;
    Walk walk;
    QAccessibleInterface* found = firstNamed(root, name, walk);
    if (!found) return std::nullopt;
    // A label stands for the control it labels ("Theme:" for its pop-up).
    if (const auto* label = qobject_cast<QLabel*>(found->object()); label && label->buddy())
        if (QAccessibleInterface* buddy = QAccessible::queryAccessibleInterface(label->buddy()))
            found = buddy;
    return QRectF(found->rect()).translated(-QPointF(root->rect().topLeft()));
}

QStringList AccessibleTree::names(QAccessibleInterface* root, qsizetype limit) {
    QStringList out;
    if (!usable(root) || limit <= 0) return out;
    Walk walk;
    collectNames(root, limit, walk, out);
    return out;
}
