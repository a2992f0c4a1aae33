#include "Console.h"
#include "InputSimulator.h"
#include "LayoutView.h"
#include "MainWindow.h"
#include "QtPrinters.h"

#include "KeyPosition.h"

#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(std::vector<ComponentDescription>{}, Console::global());
        window->applyLayout(QStringLiteral("input"),
                            LayoutText::parse(QStringLiteral("fixture-box\nmissing-one\nfixture-expanding")));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        box = window->layoutView().elements()[0].widget;
        ASSERT_TRUE(box);
    }

    QStringList events() const { return box->property("events").toStringList(); }
    void forget() { box->setProperty("events", QStringList()); }

    std::unique_ptr<MainWindow> window;
    QPointer<QWidget> box;
    InputSimulator input;
};

TEST_F(InputTest, ClicksEnterThroughTheWindowAtThePointInTheView) {
    input.click(box, {10, 5}, Qt::LeftButton);
    const QStringList left = events();
    EXPECT_TRUE(left.contains(QStringLiteral("enter")));
    EXPECT_TRUE(left.contains(QStringLiteral("press 1 10,5")));
    EXPECT_TRUE(left.contains(QStringLiteral("release 1 10,5")));
    EXPECT_TRUE(left.filter(QStringLiteral("double")).isEmpty());

    // A second click right after is not taken for a double click.
    forget();
    input.click(box, {10, 5}, Qt::LeftButton);
    EXPECT_TRUE(events().filter(QStringLiteral("double")).isEmpty());

    forget();
    input.doubleClick(box, {20, 6});
    EXPECT_TRUE(events().contains(QStringLiteral("double 20,6")));

    // The window system turns a right press into a context-menu request.
    forget();
    input.click(box, {30, 7}, Qt::RightButton);
    EXPECT_TRUE(events().contains(QStringLiteral("press 2 30,7")));
    EXPECT_TRUE(events().contains(QStringLiteral("context 30,7")));
}

TEST_F(InputTest, HoverMovesWithoutButtonsAndDragsHoldTheButtonToTheEnd) {
    input.hover(box, {40, 3});
    EXPECT_TRUE(events().contains(QStringLiteral("move 0 40,3")));

    forget();
    EXPECT_EQ(input.drag({{box, {5, 5}}, {box, {85, 25}}}, 4), QString());
    EXPECT_EQ(events(), (QStringList{"move 0 5,5", "press 1 5,5", "move 1 25,10", "move 1 45,15",
                                     "move 1 65,20", "move 1 85,25", "release 1 85,25"}));
}

TEST(InputDrag, ADragAViewStartsIsCarriedToTheWidgetUnderTheReleasePoint) {
    MainWindow window(std::vector<ComponentDescription>{}, Console::global());
    window.applyLayout(
        QStringLiteral("drag"),
        LayoutText::parse(QStringLiteral("fixture-box drag=yes\nmissing-one\nfixture-expanding")));
    window.show();
    QWidget* source = window.layoutView().elements()[0].widget;
    QWidget* placeholder = window.layoutView().elements()[1].widget;
    QWidget* target = window.layoutView().elements()[2].widget;
    const auto events = [](QWidget* w) { return w->property("events").toStringList(); };
    InputSimulator input;

    EXPECT_EQ(input.drag({{source, {5, 5}}, {target, {10, 12}}}, 4), QString());
    EXPECT_EQ(events(target).filter(QStringLiteral("drop")),
              QStringList{QStringLiteral("drop 10,12 /fixture/dragged.flac")});
    // The drag took the moves after the one that started it; the release
    // comes back to the source where that move left the pointer.
    EXPECT_EQ(events(source).filter(QStringLiteral("dragged")),
              QStringList{QStringLiteral("dragged %1").arg(int(Qt::CopyAction))});
    const QStringList moves = events(source).filter(QStringLiteral("move 1"));
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(events(source).last(),
              QString(moves[0]).replace(QStringLiteral("move"), QStringLiteral("release")));

    // Released where nothing takes drops, the source learns that nothing was done.
    source->setProperty("events", QStringList());
    EXPECT_EQ(input.drag({{source, {5, 5}}, {placeholder, {5, 5}}}, 4),
              QStringLiteral("nothing at that point accepts drops"));
    EXPECT_EQ(events(source).filter(QStringLiteral("dragged")),
              QStringList{QStringLiteral("dragged %1").arg(int(Qt::IgnoreAction))});

    // Held on its way over a widget that takes drops: that one is entered and
    // left again, and takes nothing.
    target->setProperty("events", QStringList());
    EXPECT_EQ(input.drag({{source, {5, 5}}, {target, {10, 12}, 20}, {placeholder, {5, 5}}}, 4),
              QStringLiteral("nothing at that point accepts drops"));
    EXPECT_EQ(events(target), (QStringList{"drag-enter 10,12", "drag-leave"}));
}

TEST_F(InputTest, KeysCarryTheirPositionsScanCodeAndReachTheFocusOrAShortcut) {
    box->setFocus();
    input.key(*KeyChord::parse(QStringLiteral("shift+a")), window.get());
    const int scanA = platform::scanCodeForKeyPosition(platform::vk::A);
    EXPECT_EQ(
        events(),
        QStringList{
            QStringLiteral("key %1 %2 %3 \"A\"").arg(Qt::Key_A).arg(int(Qt::ShiftModifier)).arg(scanA)});

    forget();
    input.type(QStringLiteral("hé"), window.get());
    EXPECT_EQ(events(), (QStringList{QStringLiteral("key %1 0 0 \"h\"").arg(Qt::Key_H),
                                     QStringLiteral("key 0 0 0 \"é\"")}));

    // cmd is Qt's Control: a Ctrl shortcut of the window fires and the view sees nothing.
    int fired = 0;
    auto* action = new QAction(window.get());
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    window->addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++fired; });
    forget();
    input.key(*KeyChord::parse(QStringLiteral("cmd+k")), window.get());
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(events().isEmpty());
}

TEST_F(InputTest, DropsDeliverFileUrlsToTheWidgetThatTakesThem) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/a.flac")),
                  QUrl::fromLocalFile(QStringLiteral("/music/b c.mp3"))});
    EXPECT_EQ(input.drop(box, {12, 8}, data), QString());
    EXPECT_EQ(events(), (QStringList{"drag-enter 12,8", "drop 12,8 /music/a.flac|/music/b c.mp3"}));

    QWidget* placeholder = window->layoutView().elements()[1].widget;
    EXPECT_EQ(input.drop(placeholder, {5, 5}, data), QStringLiteral("nothing at that point accepts drops"));

    QMimeData text;
    text.setText(QStringLiteral("not files"));
    EXPECT_EQ(input.drop(box, {5, 5}, text), QStringLiteral("the drop was refused on entering"));
}

}  // namespace
