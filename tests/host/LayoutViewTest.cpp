#include "Console.h"
#include "ElementPlaceholder.h"
#include "LayoutView.h"
#include "MainWindow.h"
#include "QtPrinters.h"
#include "WindowTestHost.h"

#include <QApplication>
#include <QLayout>

#include <gtest/gtest.h>

namespace {

LayoutText layout(const char* text) { return LayoutText::parse(QString::fromUtf8(text)); }

// Shown at the window's default size and laid out.
void showAndSettle(QWidget& w) {
    w.resize(MainWindow::kDefaultSize);
    w.show();
    w.layout()->activate();
    QApplication::processEvents();
}

TEST(LayoutView, PlacesEachLinesElementInOrderWithItsOptions) {
    LayoutView view(Console::global());
    view.build(
        layout("fixture-box a=1 b=\"x y\"\n"
               "waveform-seekbar time=sides\n"
               "no-such-element\n"
               "fixture-box\n"));
    const auto& placed = view.elements();
    ASSERT_EQ(placed.size(), 4u);

    EXPECT_EQ(placed[0].widget->objectName(), QStringLiteral("fixtureBox"));
    EXPECT_EQ(placed[0].widget->property("options").toMap(),
              (QVariantMap{{QStringLiteral("a"), QStringLiteral("1")},
                           {QStringLiteral("b"), QStringLiteral("x y")}}));
    EXPECT_EQ(placed[3].widget->property("options").toMap(), QVariantMap());
    EXPECT_EQ(placed[3].instance, 1);

    // The real seekbar bundle, found by its layout name across all components.
    EXPECT_FALSE(placed[1].isPlaceholder());
    EXPECT_STREQ(placed[1].widget->metaObject()->className(), "QovWaveSeekbarView");
    EXPECT_TRUE(placed[1].controller);

    EXPECT_TRUE(placed[2].isPlaceholder());
    auto* placeholder = qobject_cast<ElementPlaceholder*>(placed[2].widget.data());
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(placeholder->message(), QStringLiteral("Unknown element: no-such-element"));

    for (int i = 0; i < 4; ++i) EXPECT_EQ(view.layout()->indexOf(placed[size_t(i)].widget), i);
    EXPECT_EQ(view.find({QStringLiteral("fixture-box"), 1}), &placed[3]);
    EXPECT_EQ(view.find({QStringLiteral("fixture-box"), 2}), nullptr);
    EXPECT_EQ(view.find({QStringLiteral("Waveform Seekbar"), 0}), nullptr);  // addressed as written
}

TEST(LayoutView, ElementsThatFailBecomePlaceholdersThatSayWhy) {
    const uint64_t mark = Console::global().mark();
    LayoutView view(Console::global());
    view.build(
        layout("fixture-throws\n"
               "fixture-null\n"
               "fixture-object\n"
               "fixture-box =oops\n"
               "Fixture-Box\n"));
    const auto& placed = view.elements();
    ASSERT_EQ(placed.size(), 5u);
    for (const auto& e : placed) {
        EXPECT_TRUE(e.isPlaceholder());
        EXPECT_TRUE(qobject_cast<ElementPlaceholder*>(e.widget.data()));
        EXPECT_FALSE(e.wrapper.is_valid());
    }
    EXPECT_EQ(placed[0].problem, QStringLiteral("Element fixture-throws failed: fixture refuses"));
    EXPECT_EQ(placed[1].problem, QStringLiteral("Element fixture-null could not be created"));
    EXPECT_EQ(placed[2].problem, QStringLiteral("Element fixture-object gave no view controller"));
    EXPECT_TRUE(placed[3].problem.startsWith(QStringLiteral("Layout line 4: ")));
    EXPECT_TRUE(placed[3].name.isEmpty());
    // Names match exactly, case included.
    EXPECT_EQ(placed[4].problem, QStringLiteral("Unknown element: Fixture-Box"));

    const QStringList lines = WindowTestHost::linesSince(mark);
    EXPECT_TRUE(
        lines.contains(QStringLiteral("Layout line 1: Element fixture-throws failed: fixture refuses")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Layout line 5: Unknown element: Fixture-Box")));
    EXPECT_EQ(lines.filter(QStringLiteral("Layout line 4:")).size(), 1);
}

TEST(LayoutView, OptionWarningsAndAnEmptyLayoutReachTheConsole) {
    const uint64_t mark = Console::global().mark();
    LayoutView view(Console::global());
    view.build(layout("\nwaveform-seekbar bogus=1 time=weird\n"));
    ASSERT_EQ(view.elements().size(), 1u);
    EXPECT_FALSE(view.elements()[0].isPlaceholder());
    QStringList lines = WindowTestHost::linesSince(mark);
    EXPECT_EQ(lines.filter(QStringLiteral("Layout line 2: waveform-seekbar")).size(), 2)
        << lines.join(u'\n').toStdString();

    const uint64_t before = Console::global().mark();
    view.build(layout("# nothing yet\n"));
    ASSERT_EQ(view.elements().size(), 1u);
    EXPECT_TRUE(view.elements()[0].isPlaceholder());
    EXPECT_EQ(view.elements()[0].problem, QStringLiteral("Layout is empty: it names no element"));
    EXPECT_EQ(WindowTestHost::linesSince(before),
              QStringList{QStringLiteral("Layout is empty: it names no element")});
}

TEST(LayoutView, SpareHeightGoesToExpandingViewsElseToPlaceholdersElseBelow) {
    auto heights = [](const char* text) {
        LayoutView view(Console::global());
        view.build(layout(text));
        showAndSettle(view);
        std::vector<int> out;
        for (const auto& e : view.elements()) out.push_back(e.widget->height());
        return out;
    };
    // A view that expands takes it all; a placeholder keeps its own height.
    EXPECT_EQ(heights("fixture-box\nfixture-expanding\nmissing-one\nwaveform-seekbar"),
              (std::vector<int>{30, 700 - 30 - 44 - 40, 44, 40}));
    // Without one, the placeholders share it: the window stays filled.
    const auto shared = heights("fixture-box\nmissing-one\nwaveform-seekbar\nmissing-two");
    EXPECT_EQ(shared[0], 30);
    EXPECT_EQ(shared[2], 40);
    EXPECT_NEAR(shared[1], shared[3], 1);
    EXPECT_EQ(shared[1] + shared[3], 700 - 70);
    // With neither, the elements keep their heights and the rest stays empty.
    EXPECT_EQ(heights("fixture-box\nwaveform-seekbar"), (std::vector<int>{30, 40}));
}

TEST(LayoutView, ReleasingDestroysEveryControllerWithItsView) {
    const uint64_t mark = Console::global().mark();
    LayoutView view(Console::global());
    view.build(layout("fixture-box\nwaveform-seekbar\nmissing"));
    std::vector<QPointer<QObject>> controllers;
    std::vector<QPointer<QWidget>> widgets;
    for (const auto& e : view.elements()) {
        if (e.controller) controllers.emplace_back(e.controller.data());
        widgets.emplace_back(e.widget.data());
    }
    ASSERT_EQ(controllers.size(), 2u);

    view.release();
    EXPECT_TRUE(view.elements().empty());
    for (const auto& c : controllers) EXPECT_FALSE(c);
    for (const auto& w : widgets) EXPECT_FALSE(w);
    EXPECT_EQ(view.layout()->count(), 0);
    EXPECT_TRUE(WindowTestHost::printedSince(mark, QStringLiteral("fixture ui: box destroyed")));

    // Building again replaces rather than adds.
    view.build(layout("fixture-box"));
    view.build(layout("fixture-box"));
    EXPECT_EQ(view.elements().size(), 1u);
    EXPECT_EQ(view.layout()->count(), 2);  // the box and the stretch below it
}

TEST(MainWindow, ClosingTheWindowReleasesItsElements) {
    auto window = std::make_unique<MainWindow>(std::vector<ComponentDescription>{}, Console::global());
    window->applyLayout(QStringLiteral("test"), layout("fixture-box\nwaveform-seekbar"));
    showAndSettle(*window);
    EXPECT_EQ(window->size(), MainWindow::kDefaultSize);
    QPointer<QObject> box = window->layoutView().elements()[0].controller.data();
    QPointer<QObject> seekbar = window->layoutView().elements()[1].controller.data();
    ASSERT_TRUE(box && seekbar);

    const StateDumpWindow info = window->dumpInfo();
    EXPECT_EQ(info.layout, QStringLiteral("test"));
    ASSERT_EQ(info.elements.size(), 2u);
    EXPECT_EQ(info.elements[1].name, QStringLiteral("waveform-seekbar"));
    EXPECT_EQ(info.elements[1].geometry.top(), info.elements[0].geometry.bottom() + 1);
    EXPECT_EQ(info.elements[1].geometry.width(), MainWindow::kDefaultSize.width());

    window.reset();
    EXPECT_FALSE(box);
    EXPECT_FALSE(seekbar);
}

}  // namespace
