// The seekbar's controller, view and page against a scripted player.

#include "QovWaveSeekbarController.h"
#include "QovWaveSeekbarPrefs.h"
#include "QovWaveSeekbarView.h"
#include "SeekbarPlayer.h"
#include "SystemColors.h"
#include "TestApplication.h"
#include "WaveformCache.h"
#include "WaveSeekbarSettings.h"

#include <QApplication>
#include <QColorDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;

class WaveSeekbar : public ::testing::Test {
protected:
    WaveSeekbar() {
        testApplication();
        wave::g_cache.clear();
        wave::g_cacheOrder.clear();
    }
    ~WaveSeekbar() override { delete controller; }

    QovWaveSeekbarView* show(bool sideTimes = false) {
        controller = new QovWaveSeekbarController;
        controller->setSideTimes(sideTimes);
        QWidget* v = controller->view();
        v->resize(400, 40);
        v->show();
        return controller->seekbarView();
    }
    service_ptr_t<metadb_handle> track(const char* path, double length = 1.0) {
        return service_new<FakeTrack>(path, length);
    }

    SeekbarPlayer player;
    QovWaveSeekbarController* controller = nullptr;
};

TEST_F(WaveSeekbar, ScansANewTrackAndShowsItAgainFromTheCache) {
    auto view = show();
    auto a = track("file:///a.flac");
    player.playback->play(a);
    EXPECT_DOUBLE_EQ(view->length(), 1.0);
    ASSERT_TRUE(spinUntil([&] { return view->waveform() && view->waveform()->complete; }));
    EXPECT_EQ(controller->currentJob(), nullptr);
    EXPECT_EQ(player.inputs->opened, 1);

    player.playback->play(track("file:///b.flac"));
    EXPECT_EQ(view->waveform(), nullptr);
    ASSERT_TRUE(spinUntil([&] { return player.inputs->opened == 2; }));
    player.playback->play(a);
    EXPECT_NE(view->waveform(), nullptr);  // at once, without a scan
    EXPECT_EQ(controller->currentJob(), nullptr);
    spinUntil([] { return false; }, 100ms);
    EXPECT_EQ(player.inputs->opened, 2);
}

TEST_F(WaveSeekbar, StartsOnTheTrackAlreadyPlaying) {
    player.playback->playing = track("file:///playing.flac", 3.0);
    auto view = show();
    EXPECT_DOUBLE_EQ(view->length(), 3.0);
    EXPECT_NE(controller->currentJob(), nullptr);
}

TEST_F(WaveSeekbar, OnlyAStopForGoodClearsTheBar) {
    auto view = show();
    player.playback->play(track("file:///a.flac"));
    ASSERT_TRUE(spinUntil([&] { return view->waveform() && view->waveform()->complete; }));

    player.playback->stopWith(playback_control::stop_reason_starting_another);
    EXPECT_NE(view->waveform(), nullptr);
    EXPECT_DOUBLE_EQ(view->length(), 1.0);

    player.playback->stopWith(playback_control::stop_reason_user);
    EXPECT_EQ(view->waveform(), nullptr);
    EXPECT_DOUBLE_EQ(view->length(), 0);
}

TEST_F(WaveSeekbar, ALateCompleteSummaryIsCachedButNotShown) {
    auto view = show();
    player.playback->play(track("file:///first.flac"));
    // The scan finishes and queues its result (its thread lets go of the job
    // as it ends); the main loop has not run it yet.
    const std::weak_ptr<wave::ScanJob> first = controller->currentJob();
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (first.use_count() > 1 && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
    ASSERT_EQ(first.use_count(), 1);
    player.inputs->refuse = true;
    player.playback->play(track("file:///second.flac"));

    ASSERT_TRUE(spinUntil([&] { return wave::cacheLookup("file:///first.flac|0") != nullptr; }));
    EXPECT_EQ(view->waveform(), nullptr);
    EXPECT_NE(controller->currentJob(), nullptr);
}

TEST_F(WaveSeekbar, TwentyTrackChangesASecondLeaveOnlyTheLastTracksWaveform) {
    auto view = show();
    player.inputs->script.frames = 8000 * 4;
    player.inputs->script.blockDelay = 20ms;  // each scan takes ~160 ms: most are cut short
    std::vector<std::shared_ptr<wave::ScanJob>> jobs;
    service_ptr_t<metadb_handle> last;
    for (int i = 0; i < 40; ++i) {
        last = track(("file:///t" + std::to_string(i) + ".flac").c_str(), 4.0);
        player.playback->play(last);
        jobs.push_back(controller->currentJob());
        spinUntil([] { return false; }, 50ms);
    }
    ASSERT_TRUE(spinUntil([&] { return controller->currentJob() == nullptr; }));
    const auto shown = wave::cacheLookup("file:///t39.flac|0");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(view->waveform(), shown);
    // Each earlier scan was cut short, unless a slow machine let it finish first.
    for (size_t i = 0; i + 1 < jobs.size(); ++i)
        EXPECT_TRUE(jobs[i]->abort.is_aborting() || wave::cacheLookup(jobs[i]->key)) << i;
    // Whatever the cut-short scans still post later must not replace it.
    spinUntil([] { return false; }, 300ms);
    EXPECT_EQ(view->waveform(), shown);
}

TEST_F(WaveSeekbar, TickFollowsPlaybackOnlyWhilePlaying) {
    auto view = show();
    player.playback->play(track("file:///a.flac", 100));
    player.playback->position = 42;
    player.playback->canSeek = false;
    controller->tick();
    EXPECT_DOUBLE_EQ(view->position(), 42);
    EXPECT_FALSE(view->seekable());
    player.playback->playing.release();
    player.playback->position = 50;
    controller->tick();
    EXPECT_DOUBLE_EQ(view->position(), 42);
}

TEST_F(WaveSeekbar, DragSeeksOnceOnReleaseWhereTheWaveIs) {
    // Released right of the middle, where side times make a difference.
    for (const auto& [sideTimes, seconds] :
         {std::pair{false, 75.0}, std::pair{true, (300 - 54) / 292.0 * 100}}) {
        SCOPED_TRACE(sideTimes);
        delete controller;
        player.playback->seeks.clear();
        player.playback->canSeek = true;
        auto view = show(sideTimes);
        player.playback->play(track("file:///a.flac", 100));
        controller->tick();
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 20));
        QTest::mouseMove(view, QPoint(200, 20));
        EXPECT_TRUE(view->isDragging());
        EXPECT_TRUE(player.playback->seeks.empty());
        view->setPosition(1);  // stored, not shown while dragging
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(300, 20));
        ASSERT_EQ(player.playback->seeks.size(), 1u);
        EXPECT_DOUBLE_EQ(player.playback->seeks[0], seconds);
        EXPECT_DOUBLE_EQ(view->position(), seconds);

        player.playback->canSeek = false;
        controller->tick();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(50, 20));
        EXPECT_EQ(player.playback->seeks.size(), 1u);
    }
}

TEST_F(WaveSeekbar, PageWritesColoursAndResetsToTheSystem) {
    QovWaveSeekbarPrefs page;
    page.view();
    int notified = 0;
    auto sub = platform::NotificationCenter::defaultCenter().subscribe(
        platform::kWaveSeekbarPrefsChanged, nullptr, [&](const platform::Notification&) { ++notified; });

    page.playedWell()->pick(QColor(255, 0, 0));
    EXPECT_STREQ(cfg_colorPlayed.get(), "FF0000");
    EXPECT_EQ(notified, 1);
    page.restWell()->pick(QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    EXPECT_STREQ(cfg_colorRest.get(), "808080");

    page.reset();
    EXPECT_STREQ(cfg_colorPlayed.get(), "");
    EXPECT_STREQ(cfg_colorRest.get(), "");
    EXPECT_EQ(notified, 3);
    EXPECT_EQ(page.playedWell()->color(), platform::SystemColors::accentColor());
}

TEST_F(WaveSeekbar, ColoursTriedInTheDialogShowAtOnceAndCancelPutsTheSettingBack) {
    cfg_colorPlayed.set("");
    auto view = show();
    player.playback->play(track("file:///a.flac", 100));
    auto full = std::make_shared<wave::Waveform>();
    std::fill(full->rms.begin(), full->rms.end(), 1.0f);
    view->setWaveform(full);
    view->setPosition(50);  // the left half is played
    auto playedPixel = [&] { return view->grab().toImage().pixelColor(10, 20).rgb(); };
    const QRgb system = playedPixel();

    QovWaveSeekbarPrefs page;
    page.view();
    int notified = 0;
    auto sub = platform::NotificationCenter::defaultCenter().subscribe(
        platform::kWaveSeekbarPrefsChanged, nullptr, [&](const platform::Notification&) { ++notified; });
    auto openDialog = [](platform::ColorWell* well) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the last dialog
        well->click();
        return well->findChild<QColorDialog*>();
    };

    QColorDialog* dialog = openDialog(page.playedWell());
    ASSERT_NE(dialog, nullptr);
    dialog->setCurrentColor(QColor(255, 0, 0));
    EXPECT_STREQ(cfg_colorPlayed.get(), "FF0000");
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(playedPixel(), qRgb(255, 0, 0));
    dialog->setCurrentColor(QColor(0, 0, 255));
    EXPECT_STREQ(cfg_colorPlayed.get(), "0000FF");
    dialog->reject();
    // Back to following the system, not to a fixed copy of its colour.
    EXPECT_STREQ(cfg_colorPlayed.get(), "");
    EXPECT_EQ(notified, 3);
    EXPECT_EQ(page.playedWell()->color(), platform::SystemColors::accentColor());
    EXPECT_EQ(playedPixel(), system);

    dialog = openDialog(page.playedWell());
    ASSERT_NE(dialog, nullptr);
    dialog->setCurrentColor(QColor(0, 255, 0));
    dialog->accept();
    EXPECT_STREQ(cfg_colorPlayed.get(), "00FF00");
    EXPECT_EQ(page.playedWell()->color(), QColor(0, 255, 0));
    cfg_colorPlayed.set("");
}

}  // namespace
