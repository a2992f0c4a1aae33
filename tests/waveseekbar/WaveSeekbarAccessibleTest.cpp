// The seekbar as a screen reader and the host's dump read it.

#include "FakePlayer.h"
#include "QovWaveSeekbarView.h"
#include "TestApplication.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SeekbarAccessible : public ::testing::Test {
protected:
    SeekbarAccessible() {
        view.resize(400, 40);
        view.show();
        bar = QAccessible::queryAccessibleInterface(&view);
    }

    double current() const { return bar->valueInterface()->currentValue().toDouble(); }

    FakePlayer player;
    QApplication& app = testApplication();
    QovWaveSeekbarView view;
    QAccessibleInterface* bar = nullptr;
};

TEST_F(SeekbarAccessible, IsASliderWhoseValueIsTheTimeShownOfTheLength) {
    ASSERT_TRUE(bar && bar->valueInterface());
    EXPECT_EQ(bar->role(), QAccessible::Slider);
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Waveform Seekbar"));
    EXPECT_EQ(bar->text(QAccessible::Value), QString());  // no track
    EXPECT_DOUBLE_EQ(bar->valueInterface()->maximumValue().toDouble(), 0);

    view.setLength(3725);
    view.setPosition(59.9);
    EXPECT_EQ(bar->text(QAccessible::Value), QStringLiteral("0:59 of 1:02:05"));
    EXPECT_DOUBLE_EQ(current(), 59.9);
    EXPECT_DOUBLE_EQ(bar->valueInterface()->minimumValue().toDouble(), 0);
    EXPECT_DOUBLE_EQ(bar->valueInterface()->maximumValue().toDouble(), 3725);
    EXPECT_EQ(bar->rect(), QRect(view.mapToGlobal(QPoint(0, 0)), QSize(400, 40)));

    // While the user drags, the bar shows (and says) where the drag is.
    view.setSeekable(true);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 20));
    view.setPosition(61);
    EXPECT_NEAR(current(), 3725.0 / 2, 10);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(200, 20));
}

TEST_F(SeekbarAccessible, SettingTheValueSeeksWhereAClickMay) {
    view.setLength(100);
    bar->valueInterface()->setCurrentValue(30.0);
    EXPECT_TRUE(player.playback->seeks.empty());  // not seekable

    view.setSeekable(true);
    bar->valueInterface()->setCurrentValue(30.0);
    bar->valueInterface()->setCurrentValue(250.0);
    bar->valueInterface()->setCurrentValue(QStringLiteral("soon"));
    EXPECT_EQ(player.playback->seeks, (std::vector<double>{30, 100}));
    EXPECT_DOUBLE_EQ(view.position(), 100);

    view.setLength(0);
    bar->valueInterface()->setCurrentValue(10.0);
    EXPECT_EQ(player.playback->seeks.size(), 2u);
}

}  // namespace
