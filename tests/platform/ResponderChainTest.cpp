#include "ResponderChain.h"

#include "Printers.h"
#include "TestApplication.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

using platform::EditAction;
using platform::ResponderChain;

namespace {

class ResponderChainTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
};

// Takes the actions it is given; can do those marked able; logs what it did.
template <class Base = QWidget>
class Responder : public Base, public platform::EditResponder {
public:
    explicit Responder(QWidget* parent = nullptr) : Base(parent) {}

    std::map<EditAction, bool> takes;  // action → able now
    std::vector<EditAction> done;

    bool respondsToEditAction(EditAction a) const override { return takes.count(a) != 0; }
    bool validateEditAction(EditAction a) const override { return takes.at(a); }
    void performEditAction(EditAction a) override { done.push_back(a); }
};

}  // namespace

TEST_F(ResponderChainTest, TheFirstWidgetUpTheChainThatTakesAnActionAloneDecides) {
    QWidget window;
    Responder<> outer(&window);
    Responder<> inner(&outer);
    QWidget focus(&inner);  // takes nothing itself
    outer.takes = {{EditAction::Copy, true}, {EditAction::SelectAll, true}};
    inner.takes = {{EditAction::Copy, false}, {EditAction::Delete, true}};

    // Copy stops at the inner responder, which cannot copy now.
    EXPECT_FALSE(ResponderChain::validate(EditAction::Copy, &focus));
    EXPECT_FALSE(ResponderChain::perform(EditAction::Copy, &focus));
    EXPECT_TRUE(ResponderChain::validate(EditAction::SelectAll, &focus));
    EXPECT_TRUE(ResponderChain::perform(EditAction::SelectAll, &focus));
    EXPECT_TRUE(ResponderChain::perform(EditAction::Delete, &focus));
    // Nobody takes Paste.
    EXPECT_FALSE(ResponderChain::validate(EditAction::Paste, &focus));
    EXPECT_FALSE(ResponderChain::perform(EditAction::Paste, nullptr));

    EXPECT_EQ(inner.done, std::vector<EditAction>{EditAction::Delete});
    EXPECT_EQ(outer.done, std::vector<EditAction>{EditAction::SelectAll});

    // The chain ends at the window: a dialog does not reach its owner's view.
    QDialog dialog(&outer);
    QWidget inDialog(&dialog);
    EXPECT_FALSE(ResponderChain::validate(EditAction::SelectAll, &inDialog));
}

TEST_F(ResponderChainTest, ItemViewsSelectAllWhenManyRowsCanBeSelectedUnlessTheViewTakesItItself) {
    QStringListModel model({"one", "two", "three"});
    QStringListModel empty;
    Responder<QListView> list;
    list.takes = {{EditAction::Copy, true}};
    for (const auto& [rows, mode, can] : {std::tuple{&model, QAbstractItemView::SingleSelection, false},
                                          std::tuple{&empty, QAbstractItemView::ExtendedSelection, false},
                                          std::tuple{&model, QAbstractItemView::ExtendedSelection, true}}) {
        list.setModel(rows);
        list.setSelectionMode(mode);
        EXPECT_EQ(ResponderChain::validate(EditAction::SelectAll, &list), can) << int(mode);
    }
    // What the view takes is its own; the rest is its stock self's.
    EXPECT_TRUE(ResponderChain::perform(EditAction::Copy, &list));
    EXPECT_TRUE(ResponderChain::perform(EditAction::SelectAll, &list));
    EXPECT_EQ(list.done, std::vector<EditAction>{EditAction::Copy});
    EXPECT_EQ(list.selectionModel()->selectedRows().size(), 3);
    // A stock item view leaves the other commands to its parents.
    QListView plain;
    EXPECT_FALSE(ResponderChain::validate(EditAction::Paste, &plain));
}

TEST_F(ResponderChainTest, LineEditsAnswerFromTheirTextSelectionAndMode) {
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    struct Case {
        const char* what;
        bool readOnly;
        QLineEdit::EchoMode echo;
        bool select;
        std::set<EditAction> able;
    };
    const Case cases[] = {
        {"selected",
         false,
         QLineEdit::Normal,
         true,
         {EditAction::Cut, EditAction::Copy, EditAction::Paste, EditAction::Delete, EditAction::SelectAll}},
        {"cursor only", false, QLineEdit::Normal, false, {EditAction::Paste, EditAction::SelectAll}},
        {"read-only", true, QLineEdit::Normal, true, {EditAction::Copy, EditAction::SelectAll}},
        {"password",
         false,
         QLineEdit::Password,
         true,
         {EditAction::Paste, EditAction::Delete, EditAction::SelectAll}},
    };
    const EditAction all[] = {EditAction::Undo,  EditAction::Redo,   EditAction::Cut,      EditAction::Copy,
                              EditAction::Paste, EditAction::Delete, EditAction::SelectAll};
    for (const Case& c : cases) {
        QLineEdit field(QStringLiteral("Road Trip"));
        field.setReadOnly(c.readOnly);
        field.setEchoMode(c.echo);
        if (c.select) field.setSelection(0, 4);
        for (EditAction a : all)
            EXPECT_EQ(ResponderChain::validate(a, &field), c.able.count(a) == 1) << c.what << " " << int(a);
    }

    QLineEdit field;
    EXPECT_FALSE(ResponderChain::validate(EditAction::SelectAll, &field));
    field.insert(QStringLiteral("Road Trip"));
    ASSERT_TRUE(ResponderChain::perform(EditAction::SelectAll, &field));
    EXPECT_EQ(field.selectedText(), QStringLiteral("Road Trip"));
    ASSERT_TRUE(ResponderChain::perform(EditAction::Paste, &field));
    EXPECT_EQ(field.text(), QStringLiteral("pasted"));
    ASSERT_TRUE(ResponderChain::perform(EditAction::Undo, &field));
    EXPECT_EQ(field.text(), QStringLiteral("Road Trip"));
    EXPECT_TRUE(ResponderChain::perform(EditAction::Redo, &field));
    EXPECT_EQ(field.text(), QStringLiteral("pasted"));
}

TEST_F(ResponderChainTest, ReadOnlyTextViewsOnlyCopyAndSelect) {
    QPlainTextEdit log;
    log.setPlainText(QStringLiteral("line one\nline two"));
    log.setReadOnly(true);
    EXPECT_FALSE(ResponderChain::validate(EditAction::Copy, &log));
    ASSERT_TRUE(ResponderChain::perform(EditAction::SelectAll, &log));
    EXPECT_TRUE(ResponderChain::perform(EditAction::Copy, &log));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("line one\nline two"));
    for (EditAction a : {EditAction::Cut, EditAction::Paste, EditAction::Delete, EditAction::Undo})
        EXPECT_FALSE(ResponderChain::validate(a, &log)) << int(a);

    log.setReadOnly(false);
    ASSERT_TRUE(ResponderChain::perform(EditAction::Delete, &log));
    EXPECT_TRUE(log.toPlainText().isEmpty());
    EXPECT_TRUE(ResponderChain::perform(EditAction::Undo, &log));
    EXPECT_EQ(log.toPlainText(), QStringLiteral("line one\nline two"));
}
