// The classic-toolbar element and the classic-statusbar element against the
// host's playlists and title formatting and a scripted player.

#include "Alert.h"
#include "ChromeHost.h"
#include "ClassicSettings.h"
#include "Printers.h"
#include "QovClassicStatusbar.h"
#include "QovClassicToolbar.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

class ToolbarElement : public ::testing::Test {
protected:
    ToolbarElement() {
        window.resize(900, 40);
        auto* bar = toolbar->view();
        bar->setParent(&window);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    SymbolButton* button(const char* name) {
        for (auto* b : window.findChildren<SymbolButton*>())
            if (b->accessibleName() == QLatin1String(name)) return b;
        ADD_FAILURE() << "no button " << name;
        return nullptr;
    }
    void setSlider(double position) {
        toolbar->volume()->setValue(int(position * QovClassicToolbar::kSliderSteps));
    }

    ChromeHost host;
    QWidget window;
    std::unique_ptr<QovClassicToolbar> toolbar = std::make_unique<QovClassicToolbar>();
};

TEST_F(ToolbarElement, TransportButtonsCallThePlayer) {
    using PC = playback_control;
    auto& pc = *host.playback;
    button("Play")->click();
    button("Next")->click();
    button("Previous")->click();
    button("Random")->click();
    EXPECT_EQ(pc.commands,
              (std::vector<PC::t_track_command>{PC::track_command_play, PC::track_command_next,
                                                PC::track_command_prev, PC::track_command_rand}));

    pc.playing = tagged("/music/a.flac");
    button("Pause")->click();
    button("Pause")->click();
    EXPECT_TRUE(pc.paused);  // pausing never toggles
    button("Play")->click();
    EXPECT_FALSE(pc.paused);  // resumed, not restarted
    EXPECT_EQ(pc.commands.size(), 4u);
    button("Stop")->click();
    EXPECT_EQ(pc.stops, 1);
}

TEST_F(ToolbarElement, TheSliderSetsTheVolumeAndShowsItsPosition) {
    setSlider(0.5);
    EXPECT_NEAR(host.playback->volume, -12.04, 0.01);
    EXPECT_EQ(toolbar->volume()->toolTip(), QStringLiteral("Volume: -12.0 dB"));
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("50%"));
    toolbar->syncVolume();
    EXPECT_EQ(toolbar->mute()->symbol(), QStringLiteral("speaker.wave.2.fill"));

    setSlider(0);
    EXPECT_EQ(host.playback->volume, -100.0f);
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("0%"));
    toolbar->syncVolume();
    EXPECT_EQ(toolbar->mute()->symbol(), QStringLiteral("speaker.slash.fill"));
    EXPECT_EQ(toolbar->volume()->value(), 0);
}

TEST_F(ToolbarElement, AClickOnTheSliderSetsTheVolumeThereAndTheKnobFollows) {
    QSlider* slider = toolbar->volume();
    const auto at = [&](double position) {
        QStyleOptionSlider option;
        option.initFrom(slider);
        const int knob = slider->style()->pixelMetric(QStyle::PM_SliderLength, &option, slider);
        return QPoint(knob / 2 + int(position * (slider->width() - knob)), slider->height() / 2);
    };
    QTest::mouseClick(slider, Qt::LeftButton, {}, at(0.25));
    EXPECT_NEAR(host.playback->volume, -24.08, 0.5);
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("25%"));

    QTest::mousePress(slider, Qt::LeftButton, {}, at(0.75));
    QTest::mouseMove(slider, at(0.5));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, at(0.5));
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("50%"));
}

TEST_F(ToolbarElement, AVolumeSetElsewhereShowsUnlessAButtonIsHeld) {
    host.playback->volume = -30;
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return toolbar->volumePercent()->text() == QStringLiteral("18%"); }, 5000));
    EXPECT_NEAR(toolbar->volume()->value() / double(QovClassicToolbar::kSliderSteps), 0.178, 0.001);
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("18%"));
    EXPECT_EQ(toolbar->mute()->symbol(), QStringLiteral("speaker.wave.1.fill"));
    EXPECT_EQ(toolbar->volume()->toolTip(), QStringLiteral("Volume: -30.0 dB"));

    // The user holds the mouse down (on the slider, say): the poll keeps off.
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    host.playback->volume = 0;
    toolbar->syncVolume();
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("18%"));
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    toolbar->syncVolume();
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("100%"));
}

TEST_F(ToolbarElement, MuteTogglesAndShowsAtOnce) {
    host.playback->volume = -6;
    button("Mute")->click();
    EXPECT_TRUE(host.playback->muted);
    EXPECT_EQ(toolbar->mute()->symbol(), QStringLiteral("speaker.slash.fill"));
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("0%"));
    button("Mute")->click();
    EXPECT_EQ(toolbar->mute()->symbol(), QStringLiteral("speaker.wave.2.fill"));
    EXPECT_EQ(toolbar->volumePercent()->text(), QStringLiteral("71%"));
}

TEST_F(ToolbarElement, TheOrderPopUpFollowsThePlayerBothWays) {
    QComboBox* order = toolbar->order();
    const size_t count = host.playlists->playback_order_get_count();
    ASSERT_EQ(order->count(), int(count));
    ASSERT_GE(count, 3u);
    EXPECT_EQ(order->itemText(1), QString::fromUtf8(host.playlists->playback_order_get_name(1)));
    EXPECT_EQ(order->currentIndex(), 0);

    order->setCurrentIndex(2);
    emit order->activated(2);
    EXPECT_EQ(host.playlists->playback_order_get_active(), 2u);

    host.playlists->playback_order_set_active(1);
    toolbar->syncOrder();
    EXPECT_EQ(order->currentIndex(), 1);
}

TEST_F(ToolbarElement, TheWindowTitleFollowsThePlayingTrack) {
    cfg_windowTitle.set("%title% '['quorvane']'");
    window.setWindowTitle(QStringLiteral("untouched"));
    toolbar->syncWindowTitle();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("quorvane"));  // stopped: the player's name

    host.playback->playing = tagged("/music/a.flac", {{"title", "Morning Light"}});
    toolbar->syncWindowTitle();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Morning Light [quorvane]"));
    EXPECT_EQ(host.playback->lastLevel, playback_control::display_level_titles);

    host.playback->playing = tagged("/music/c.flac", {{"title", "Take [*] Five"}});
    toolbar->syncWindowTitle();
    window.winId();
    EXPECT_EQ(window.windowHandle()->title(), QStringLiteral("Take [*] Five [quorvane]"));

    // A title that is no UTF-8 is the player's name again.
    host.playback->playing = tagged("/music/b.flac", {{"title", "\xC3\x28"}});
    cfg_windowTitle.set("%title%");
    toolbar->syncWindowTitle();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("quorvane"));

    cfg_windowTitle.set("");
    window.setWindowTitle(QStringLiteral("mine"));
    toolbar->syncWindowTitle();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("mine"));
}

TEST_F(ToolbarElement, PollsChangeNothingWhenNothingChanged) {
    host.playback->volume = -12;
    host.playback->playing = tagged("/music/a.flac", {{"title", "Same"}});
    QTest::qWait(2 * QovClassicToolbar::kPollMs);
    PaintCounter label(toolbar->volumePercent()), slider(toolbar->volume()), mute(toolbar->mute());
    int titles = 0;
    QObject::connect(&window, &QWidget::windowTitleChanged, [&] { ++titles; });
    const size_t compiled = host.compiler->compiled.size();

    QTest::qWait(5 * QovClassicToolbar::kPollMs);
    EXPECT_EQ(label.paints + slider.paints + mute.paints, 0);
    EXPECT_EQ(titles, 0);
    EXPECT_EQ(host.compiler->compiled.size(), compiled);  // the pattern is compiled once

    // Stopped, nothing is formatted at all.
    host.playback->playing.release();
    QTest::qWait(2 * QovClassicToolbar::kPollMs);
    const int formats = host.playback->formats;
    QTest::qWait(3 * QovClassicToolbar::kPollMs);
    EXPECT_EQ(host.playback->formats, formats);
}

class StatusbarElement : public ::testing::Test {
protected:
    StatusbarElement() { bar->view()->resize(600, 20); }
    ~StatusbarElement() override { platform::Alert::setResponder({}); }

    QString left() { return bar->left()->text(); }
    QString right() { return bar->right()->text(); }

    ChromeHost host;
    std::unique_ptr<QovClassicStatusbar> bar = std::make_unique<QovClassicStatusbar>();
};

TEST_F(StatusbarElement, StoppedShowsStoppedAndOnlyABareVolume) {
    bar->refresh();
    EXPECT_EQ(left(), QStringLiteral("Stopped."));
    EXPECT_EQ(right(), QStringLiteral("0.00dB"));
    host.playback->volume = -12;
    cfg_statusRight.set("Vol: %volume%");
    bar->refresh();
    EXPECT_EQ(right(), QString());
    EXPECT_EQ(host.playback->formats, 0);
}

TEST_F(StatusbarElement, PlayingFormatsBothPatternsWithTheVolumeAsText) {
    host.playback->playing = tagged("/music/a.flac", {{"title", "Ember"}, {"artist", "Ada"}});
    host.playback->volume = -3;
    cfg_statusLeft.set("%artist% - %title%");
    cfg_statusRight.set("[%volume%] [%album%]");
    bar->refresh();
    EXPECT_EQ(left(), QStringLiteral("Ada - Ember"));
    // The brackets see literal text, so the volume shows; the album has none.
    EXPECT_EQ(right(), QStringLiteral("-3.00dB "));
    EXPECT_EQ(host.playback->lastLevel, playback_control::display_level_all);

    host.playback->paused = true;
    bar->refresh();
    EXPECT_EQ(left(), QStringLiteral("Paused \u00B7 Ada - Ember"));

    // A pattern that does not compile still shows something to fix.
    cfg_statusLeft.set("[%title%");
    host.playback->paused = false;
    bar->refresh();
    EXPECT_EQ(left(), QString::fromLatin1(titleformat_compiler::kInvalidPatternText));
}

TEST_F(StatusbarElement, TheDialogStoresBothPatternsAsTypedOrNothing) {
    host.playback->playing = tagged("/music/a.flac", {{"title", "Ember"}});
    QStringList shown;
    platform::Alert::setResponder([&](const platform::Alert& alert) {
        const auto fields = alert.accessoryView()->findChildren<QLineEdit*>();
        for (auto* f : fields) shown.append(f->text());
        fields[0]->setText(QString());
        fields[1]->setText(QString());
        return platform::Alert::kSecondButton;  // Cancel
    });
    bar->editFormat();
    EXPECT_EQ(shown, (QStringList{QString::fromUtf8(kDefaultStatusLeft), QStringLiteral("%volume%")}));
    EXPECT_EQ(cfg_statusLeft.get().str(), kDefaultStatusLeft);

    platform::Alert::setResponder([](const platform::Alert& alert) {
        for (auto* f : alert.accessoryView()->findChildren<QLineEdit*>()) f->setText(QString());
        return platform::Alert::kFirstButton;
    });
    bar->editFormat();
    EXPECT_EQ(cfg_statusLeft.get().str(), "");
    EXPECT_EQ(cfg_statusRight.get().str(), "");
    EXPECT_EQ(left(), QString());
    EXPECT_EQ(right(), QString());
    host.playback->playing.release();
    bar->refresh();
    EXPECT_EQ(left(), QStringLiteral("Stopped."));

    QMenu* menu = bar->contextMenu();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Edit Status Bar Format\u2026"));
    menu->actions()[1]->trigger();  // Reset to Default
    EXPECT_EQ(cfg_statusLeft.get().str(), kDefaultStatusLeft);
    EXPECT_EQ(cfg_statusRight.get().str(), "%volume%");
    EXPECT_EQ(right(), QStringLiteral("0.00dB"));
}

}  // namespace
