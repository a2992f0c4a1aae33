// The Edit menu's standard items and the application's shortcuts, driven the
// way the window system drives them: keys through shortcut matching to the
// focused widget of the active window.

#include "Console.h"
#include "ConsoleWindow.h"
#include "EditResponder.h"
#include "HostCommands.h"
#include "MainMenuBuilder.h"
#include "MainWindow.h"
#include "PreferencesWindow.h"
#include "QtPrinters.h"

#include "Beep.h"
#include "MainMenu.h"
#include "standard_commands.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <map>
#include <memory>

using platform::EditAction;

namespace {

const EditAction kAll[] = {EditAction::Undo,  EditAction::Redo,   EditAction::Cut,      EditAction::Copy,
                           EditAction::Paste, EditAction::Delete, EditAction::SelectAll};

// A custom view that takes the actions it is given, able as marked.
class View : public QWidget, public platform::EditResponder {
public:
    View() { setFocusPolicy(Qt::StrongFocus); }

    std::map<EditAction, bool> takes;
    std::vector<EditAction> done;
    QStringList keys;

    bool respondsToEditAction(EditAction a) const override { return takes.count(a) != 0; }
    bool validateEditAction(EditAction a) const override { return takes.at(a); }
    void performEditAction(EditAction a) override { done.push_back(a); }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() != Qt::Key_Control && e->key() != Qt::Key_Shift)
            keys.append(QKeySequence(e->keyCombination()).toString());
    }
};

class EditMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(std::vector<ComponentDescription>{}, Console::global());
        window->show();
        // Another window holds the views, as the preferences window would.
        auto* layout = new QVBoxLayout(&keyWindow);
        layout->addWidget(&view);
        layout->addWidget(&field);
        keyWindow.show();
        activate(&keyWindow);
    }
    void TearDown() override { platform::setBeepHook(nullptr); }

    static void activate(QWidget* w) {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    QAction* item(const char* text) { return window->menus().find(QStringLiteral("Edit/") + text); }
    std::map<EditAction, bool> shown() {
        std::map<EditAction, bool> enabled;
        emit window->menus().menu(QStringLiteral("Edit"))->aboutToShow();
        const char* texts[] = {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"};
        for (size_t i = 0; i < std::size(kAll); ++i) enabled[kAll[i]] = item(texts[i])->isEnabled();
        return enabled;
    }

    std::unique_ptr<MainWindow> window;
    QWidget keyWindow;
    View view;
    QLineEdit field;
};

}  // namespace

TEST_F(EditMenuTest, ItemsAreEnabledByTheFocusedViewAndActOnIt) {
    view.takes = {{EditAction::Copy, false}, {EditAction::SelectAll, true}, {EditAction::Undo, true}};
    view.setFocus();
    std::map<EditAction, bool> expected;
    for (EditAction a : kAll) expected[a] = false;
    expected[EditAction::SelectAll] = expected[EditAction::Undo] = true;
    EXPECT_EQ(shown(), expected);
    item("Select All")->trigger();
    item("Undo")->trigger();
    EXPECT_EQ(view.done, (std::vector<EditAction>{EditAction::SelectAll, EditAction::Undo}));

    // A stock field answers for itself.
    field.setText(QStringLiteral("Road Trip"));
    field.setFocus();
    std::map<EditAction, bool> stock = shown();
    EXPECT_FALSE(stock[EditAction::Copy]);
    EXPECT_TRUE(stock[EditAction::SelectAll]);
    item("Select All")->trigger();
    EXPECT_EQ(field.selectedText(), QStringLiteral("Road Trip"));
    EXPECT_TRUE(shown()[EditAction::Copy]);

    // Chosen after the view stopped being able to act: a beep, nothing done.
    int beeps = 0;
    platform::setBeepHook([&beeps] { ++beeps; });
    view.setFocus();
    QAction* selectAll = item("Select All");
    ASSERT_TRUE(selectAll->isEnabled());
    view.takes[EditAction::SelectAll] = false;
    selectAll->trigger();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(view.done.size(), 2u);
}

TEST_F(EditMenuTest, AShortcutFiresOnlyWhenTheViewCanActNowElseTheKeyReachesIt) {
    view.takes = {{EditAction::SelectAll, true}, {EditAction::Redo, false}};
    view.setFocus();
    shown();  // enabled while shown; the view then changes its mind
    view.takes[EditAction::SelectAll] = false;
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(view.done.empty());
    EXPECT_EQ(view.keys, QStringList{"Ctrl+A"});

    // And the other way round, without the menu ever showing.
    view.takes[EditAction::SelectAll] = true;
    view.takes[EditAction::Redo] = true;
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.done, (std::vector<EditAction>{EditAction::SelectAll, EditAction::Redo}));
    EXPECT_EQ(view.keys.size(), 1);
}

TEST_F(EditMenuTest, ApplicationShortcutsWorkFromThePreferencesAndConsoleWindows) {
    int quits = 0;
    const auto quit =
        HostCommands::add({standard_commands::guid_main_exit, [] { return true; }, [&quits] { ++quits; }});

    window->showPreferences();
    PreferencesWindow* preferences = window->preferencesWindow();
    activate(preferences);
    QTest::keyClick(preferences, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);

    window->showConsole();
    ConsoleWindow* console = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* c = qobject_cast<ConsoleWindow*>(w)) console = c;
    ASSERT_NE(console, nullptr);
    activate(console);
    auto* text = console->findChild<QPlainTextEdit*>();
    ASSERT_NE(text, nullptr);
    text->setFocus();
    Console::global().print("a line to select");
    ASSERT_TRUE(QTest::qWaitFor([text] { return !text->toPlainText().isEmpty(); }, 10000));
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(text->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'),
              text->toPlainText());
    QTest::keyClick(text, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 2);
}

TEST_F(EditMenuTest, TheMenuBarInKeyboardUseAnswersForTheViewItTookTheKeysFrom) {
    View inWindow;
    inWindow.setParent(window->centralWidget());
    inWindow.show();
    inWindow.takes = {{EditAction::SelectAll, true}};
    activate(window.get());
    inWindow.setFocus();
    // Alt pressed and released alone.
    QTest::keyClick(window.get(), Qt::Key_Alt);
    ASSERT_EQ(QApplication::focusWidget(), window->menuBar());
    EXPECT_TRUE(shown()[EditAction::SelectAll]);
    item("Select All")->trigger();
    EXPECT_EQ(inWindow.done, std::vector<EditAction>{EditAction::SelectAll});
}

TEST_F(EditMenuTest, ALookupThroughTheMainMenuFindsLazyItemsInTheirCurrentState) {
    ASSERT_EQ(platform::MainMenu::bar(), window->menuBar());
    view.takes = {{EditAction::SelectAll, true}};
    view.setFocus();

    // As a view looking for a shortcut walks it: each menu updated when looked into.
    std::function<QAction*(QMenu*, const QString&)> lookUp = [&](QMenu* menu,
                                                                 const QString& text) -> QAction* {
        platform::MainMenu::update(menu);
        for (QAction* a : menu->actions()) {
            if (a->menu()) {
                if (QAction* found = lookUp(a->menu(), text)) return found;
            } else if (a->text().remove(u'&') == text) {
                return a;
            }
        }
        return nullptr;
    };
    auto lookUpAll = [&](const QString& text) -> QAction* {
        for (QAction* top : platform::MainMenu::bar()->actions())
            if (QAction* found = top->menu() ? lookUp(top->menu(), text) : nullptr) return found;
        return nullptr;
    };

    auto* orders = window->menuBar()->findChild<QMenu*>(QStringLiteral("menuPlaybackOrder"));
    ASSERT_NE(orders, nullptr);
    EXPECT_TRUE(orders->actions().isEmpty());
    QAction* command = lookUpAll(QStringLiteral("alpha"));  // a component's, made on showing
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(command->isEnabled());
    EXPECT_EQ(lookUpAll(QStringLiteral("Nothing")), nullptr);
    EXPECT_FALSE(orders->actions().isEmpty());

    QAction* selectAll = lookUpAll(QStringLiteral("Select All"));
    ASSERT_NE(selectAll, nullptr);
    EXPECT_EQ(selectAll->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_TRUE(selectAll->isEnabled());
    view.takes[EditAction::SelectAll] = false;
    EXPECT_FALSE(lookUpAll(QStringLiteral("Select All"))->isEnabled());
}
