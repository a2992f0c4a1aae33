#include "AccessibleTree.h"
#include "QtPrinters.h"

#include <QAccessible>
#include <QJsonArray>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

// A node of a hand-made tree; `count` may claim more children than it holds,
// the rest made on demand the way item views make theirs.
class FakeNode : public QAccessibleInterface, public QAccessibleValueInterface {
public:
    FakeNode(QString name, QRect rect, QAccessible::Role role = QAccessible::Cell)
        : m_name(std::move(name)), m_rect(rect), m_role(role) {}
    ~FakeNode() override = default;

    FakeNode* add(std::unique_ptr<FakeNode> child) {
        child->m_parent = this;
        m_children.push_back(std::move(child));
        m_count = int(m_children.size());
        return m_children.back().get();
    }
    void claim(int count) { m_count = count; }

    QString value;
    double current = -1;
    QAccessible::State states;
    mutable int childCalls = 0;

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return m_parent; }
    QAccessibleInterface* child(int index) const override {
        ++childCalls;
        if (index < 0 || index >= m_count) return nullptr;
        if (index < int(m_children.size())) return m_children[index].get();
        auto& made = m_made[index];
        if (!made) made = std::make_unique<FakeNode>(QStringLiteral("made %1").arg(index), QRect(0, 0, 1, 1));
        return made.get();
    }
    int childCount() const override { return m_count; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? m_name : t == QAccessible::Value ? value : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return m_rect; }
    QAccessible::Role role() const override { return m_role; }
    QAccessible::State state() const override { return states; }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ValueInterface && current >= 0
                   ? static_cast<QAccessibleValueInterface*>(this)
                   : nullptr;
    }

    QVariant currentValue() const override { return current; }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 200.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return {}; }

private:
    QString m_name;
    QRect m_rect;
    QAccessible::Role m_role;
    FakeNode* m_parent = nullptr;
    std::vector<std::unique_ptr<FakeNode>> m_children;
    mutable std::map<int, std::unique_ptr<FakeNode>> m_made;
    int m_count = 0;
};

std::unique_ptr<FakeNode> node(const char* name, QRect rect, QAccessible::Role role = QAccessible::Cell) {
    return std::make_unique<FakeNode>(QString::fromUtf8(name), rect, role);
}

// In screen coordinates, as interfaces report them: the root sits at 100, 50.
struct Strip {
    Strip() : root(QStringLiteral("Strip"), QRect(100, 50, 400, 40), QAccessible::PageTabList) {
        alpha = root.add(node("Alpha", QRect(100, 50, 100, 40), QAccessible::PageTab));
        alpha->states.selected = true;
        alpha->states.focused = true;
        beta = root.add(node("Beta", QRect(200, 50, 100, 40), QAccessible::PageTab));
        beta->states.checked = true;
        group = root.add(node("", QRect(300, 50, 200, 40), QAccessible::Grouping));
        deep = group->add(node("Deep", QRect(310, 55, 20, 10)));
        group->add(node("Beta", QRect(400, 50, 100, 40)));
        bar = root.add(node("Position", QRect(100, 85, 400, 5), QAccessible::Slider));
        bar->value = QStringLiteral("0:42 of 3:20");
        bar->current = 42.5;
        bar->states.invisible = true;
    }
    FakeNode root;
    FakeNode *alpha, *beta, *group, *deep, *bar;
};

QJsonObject childOf(const QJsonObject& o, int i) {
    return o[QStringLiteral("children")].toArray()[i].toObject();
}

int nodesIn(const QJsonObject& o) {
    int n = 1;
    for (const QJsonValue& c : o[QStringLiteral("children")].toArray()) n += nodesIn(c.toObject());
    return n;
}

TEST(AccessibleTree, DescribesEachNodeRelativeToTheRoot) {
    Strip strip;
    const QJsonObject tree = AccessibleTree::describe(&strip.root);
    EXPECT_EQ(tree[QStringLiteral("role")].toString(), QStringLiteral("PageTabList"));
    EXPECT_EQ(tree[QStringLiteral("name")].toString(), QStringLiteral("Strip"));
    EXPECT_EQ(tree[QStringLiteral("x")].toDouble(), 0);
    EXPECT_EQ(tree[QStringLiteral("width")].toDouble(), 400);
    EXPECT_FALSE(tree.contains(QStringLiteral("child_count")));
    ASSERT_EQ(tree[QStringLiteral("children")].toArray().size(), 4);

    const QJsonObject alpha = childOf(tree, 0);
    EXPECT_EQ(alpha[QStringLiteral("role")].toString(), QStringLiteral("PageTab"));
    EXPECT_EQ(alpha[QStringLiteral("states")].toArray(), (QJsonArray{"selected", "focused"}));
    EXPECT_FALSE(alpha.contains(QStringLiteral("children")));
    EXPECT_FALSE(alpha.contains(QStringLiteral("value")));
    EXPECT_EQ(childOf(tree, 1)[QStringLiteral("states")].toArray(), QJsonArray{"checked"});
    EXPECT_EQ(childOf(tree, 1)[QStringLiteral("x")].toDouble(), 100);

    const QJsonObject deep = childOf(childOf(tree, 2), 0);
    EXPECT_EQ(deep[QStringLiteral("name")].toString(), QStringLiteral("Deep"));
    EXPECT_EQ(QRectF(deep[QStringLiteral("x")].toDouble(), deep[QStringLiteral("y")].toDouble(),
                     deep[QStringLiteral("width")].toDouble(), deep[QStringLiteral("height")].toDouble()),
              QRectF(210, 5, 20, 10));

    const QJsonObject bar = childOf(tree, 3);
    EXPECT_EQ(bar[QStringLiteral("value")].toString(), QStringLiteral("0:42 of 3:20"));
    EXPECT_DOUBLE_EQ(bar[QStringLiteral("current")].toDouble(), 42.5);
    EXPECT_DOUBLE_EQ(bar[QStringLiteral("maximum")].toDouble(), 200);
    EXPECT_EQ(bar[QStringLiteral("states")].toArray(), QJsonArray{"invisible"});

    EXPECT_TRUE(AccessibleTree::describe(nullptr).isEmpty());
}

TEST(AccessibleTree, FindsTheFirstNodeOfANameDepthFirst) {
    Strip strip;
    EXPECT_EQ(AccessibleTree::find(&strip.root, QStringLiteral("Beta")), QRectF(100, 0, 100, 40));
    EXPECT_EQ(AccessibleTree::find(&strip.root, QStringLiteral("Deep")), QRectF(210, 5, 20, 10));
    EXPECT_FALSE(AccessibleTree::find(&strip.root, QStringLiteral("Strip")));  // the root is no child
    EXPECT_FALSE(AccessibleTree::find(&strip.root, QStringLiteral("beta")));
    EXPECT_FALSE(AccessibleTree::find(nullptr, QStringLiteral("Beta")));
    EXPECT_EQ(AccessibleTree::names(&strip.root, 3), (QStringList{"Alpha", "Beta", "Deep"}));
    EXPECT_EQ(AccessibleTree::names(&strip.root, 10),
              (QStringList{"Alpha", "Beta", "Deep", "Beta", "Position"}));
}

TEST(AccessibleTree, AHugeTreeIsReadOnlyWithinItsBounds) {
    FakeNode list(QStringLiteral("Rows"), QRect(0, 0, 100, 100), QAccessible::List);
    list.claim(100000);
    const QJsonObject tree = AccessibleTree::describe(&list);
    EXPECT_EQ(tree[QStringLiteral("children")].toArray().size(), AccessibleTree::kMaxChildren);
    EXPECT_EQ(tree[QStringLiteral("child_count")].toInt(), 100000);
    EXPECT_LE(list.childCalls, AccessibleTree::kMaxChildren);

    list.childCalls = 0;
    EXPECT_FALSE(AccessibleTree::find(&list, QStringLiteral("made 99999")));
    EXPECT_LE(list.childCalls, AccessibleTree::kMaxChildren);
    EXPECT_TRUE(AccessibleTree::find(&list, QStringLiteral("made 199")));

    // Wide at every level: the node budget ends the walk.
    FakeNode root(QStringLiteral("Root"), QRect(0, 0, 10, 10));
    root.claim(AccessibleTree::kMaxChildren);
    for (int i = 0; i < AccessibleTree::kMaxChildren; ++i)
        static_cast<FakeNode*>(root.child(i))->claim(AccessibleTree::kMaxChildren);
    root.childCalls = 0;
    const QJsonObject wide = AccessibleTree::describe(&root);
    EXPECT_EQ(nodesIn(wide), AccessibleTree::kMaxNodes + 1);
    // The first children are read whole, the one the budget ran out in partly.
    EXPECT_EQ(wide[QStringLiteral("child_count")].toInt(), AccessibleTree::kMaxChildren);
    const QJsonArray firsts = wide[QStringLiteral("children")].toArray();
    EXPECT_FALSE(firsts.first().toObject().contains(QStringLiteral("child_count")));
    EXPECT_EQ(firsts.last().toObject()[QStringLiteral("child_count")].toInt(), AccessibleTree::kMaxChildren);
}

// Offscreen no assistive technology listens, and item views then keep the
// interfaces of their cells as they first made them.
TEST(AccessibleTree, ItemViewsAreReadAsTheyAreNow) {
    QStandardItemModel model(3, 1);
    for (int i = 0; i < 3; ++i) model.setItem(i, 0, new QStandardItem(QStringLiteral("row %1").arg(i)));
    QTableView view;
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&view);
    const auto rows = [table] { return AccessibleTree::names(table, 20).filter(QStringLiteral("row")); };
    EXPECT_EQ(rows(), (QStringList{"row 0", "row 1", "row 2"}));

    model.removeRow(0);
    model.insertRow(2, new QStandardItem(QStringLiteral("row 3")));
    EXPECT_EQ(rows(), (QStringList{"row 1", "row 2", "row 3"}));
    EXPECT_EQ(AccessibleTree::describe(table)[QStringLiteral("role")].toString(), QStringLiteral("Table"));
    EXPECT_FALSE(AccessibleTree::find(table, QStringLiteral("row 0")));
    EXPECT_EQ(AccessibleTree::find(table, QStringLiteral("row 1"))->top(),
              view.visualRect(model.index(0, 0)).translated(view.viewport()->pos()).top());
}

}  // namespace
