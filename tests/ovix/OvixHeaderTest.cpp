// The Ovix header against a scripted player and album art.

#include "OvixCoverView.h"
#include "OvixHeaderLayout.h"
#include "OvixTestHost.h"
#include "QovOvixHeader.h"
#include "TestApplication.h"

#include <QAccessible>
#include <QBuffer>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;

QByteArray picture(QColor color, QSize size = QSize(64, 64), const char* format = "PNG") {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QColor middle(const QImage& image) { return image.pixelColor(image.width() / 2, image.height() / 2); }

class OvixHeader : public ::testing::Test {
protected:
    ~OvixHeader() override {
        controller.reset();
        // No fetch may still run into the next test's host.
        spinUntil([&] { return host.art->finished == host.art->queries; });
    }

    QovOvixHeader& show() {
        controller = std::make_unique<QovOvixHeader>();
        controller->view()->show();
        return *controller;
    }
    service_ptr_t<MemoryTrack> track(const std::string& name, double length = 185) {
        return memoryTrack(name + ".flac",
                           {{"artist", "The Band"}, {"title", name}, {"album", "Record"}, {"date", "1999"}},
                           length);
    }
    bool coverShown() { return !controller->cover()->showsPlaceholder(); }

    OvixTestHost host;
    std::unique_ptr<QovOvixHeader> controller;
};

TEST_F(OvixHeader, StoppedShowsThePlayerAndThePlaceholder) {
    QovOvixHeader& h = show();
    EXPECT_EQ(h.titleLabel()->text(), QStringLiteral("quorvane"));
    EXPECT_TRUE(h.artistLabel()->text().isEmpty());
    EXPECT_TRUE(h.albumLabel()->text().isEmpty());
    EXPECT_TRUE(h.techLabel()->text().isEmpty());
    EXPECT_TRUE(h.timeLabel()->text().isEmpty());
    EXPECT_TRUE(h.cover()->showsPlaceholder());
    EXPECT_FALSE(h.playButton()->isChecked());
    EXPECT_FALSE(h.pauseButton()->isChecked());
    EXPECT_EQ(controller->view()->height(), 96);
}

TEST_F(OvixHeader, PlayingShowsTheTrackAndTheTime) {
    QovOvixHeader& h = show();
    host.playback->play(track("Song"));
    host.playback->position = 62.6;
    h.refresh();
    EXPECT_EQ(h.titleLabel()->text(), QStringLiteral("Song"));
    EXPECT_EQ(h.artistLabel()->text(), QStringLiteral("The Band"));
    EXPECT_EQ(h.albumLabel()->text(), QStringLiteral("Record (1999)"));
    EXPECT_EQ(h.techLabel()->text(), QStringLiteral("FLAC, 44 kHz, 900 kbps, Stereo"));
    EXPECT_EQ(h.timeLabel()->text(), QStringLiteral("1:03 / 3:05"));
    EXPECT_TRUE(h.playButton()->isChecked());

    host.playback->play(track("Stream", 0));
    host.playback->position = 75;
    h.refresh();
    EXPECT_EQ(h.timeLabel()->text(), QStringLiteral("1:15 / --:--"));
}

TEST_F(OvixHeader, PlayResumesWhenPausedStartsWhenStoppedAndLeavesPlayingAlone) {
    QovOvixHeader& h = show();
    h.onPlay();
    using PC = playback_control;
    EXPECT_EQ(host.playback->commands, (std::vector<PC::t_track_command>{PC::track_command_play}));

    host.playback->play(track("Song"));
    h.onPause();
    EXPECT_TRUE(host.playback->paused);
    h.refresh();
    EXPECT_TRUE(h.pauseButton()->isChecked());
    EXPECT_FALSE(h.playButton()->isChecked());
    h.onPlay();
    EXPECT_FALSE(host.playback->paused);
    h.onPlay();
    EXPECT_EQ(host.playback->commands.size(), 1u);  // resumed, never restarted

    h.onPrev();
    h.onNext();
    h.onStop();
    EXPECT_EQ(host.playback->commands,
              (std::vector<PC::t_track_command>{PC::track_command_play, PC::track_command_prev,
                                                PC::track_command_next}));
    EXPECT_EQ(host.playback->stops, 1);
}

TEST_F(OvixHeader, ATogglePressedTwiceGoesBackToTheFirstOrder) {
    QovOvixHeader& h = show();
    const size_t repeat = orderIndex("repeat (PLAYLIST)");
    const size_t shuffle = orderIndex("Shuffle (tracks)");
    ASSERT_NE(repeat, SIZE_MAX);
    ASSERT_NE(shuffle, SIZE_MAX);
    EXPECT_EQ(orderIndex("Sideways"), SIZE_MAX);

    host.playlists->playback_order_set_active(repeat);
    h.refresh();
    EXPECT_TRUE(h.repeatButton()->isChecked());
    QTest::mouseClick(h.shuffleButton(), Qt::LeftButton);
    EXPECT_EQ(host.playlists->playback_order_get_active(), shuffle);
    EXPECT_TRUE(h.shuffleButton()->isChecked());  // at once, not at the next tick
    EXPECT_FALSE(h.repeatButton()->isChecked());
    QTest::mouseClick(h.shuffleButton(), Qt::LeftButton);
    EXPECT_EQ(host.playlists->playback_order_get_active(), 0u);
    EXPECT_FALSE(h.shuffleButton()->isChecked());

    h.toggleOrder("Sideways");
    EXPECT_EQ(host.playlists->playback_order_get_active(), 0u);
}

TEST_F(OvixHeader, TheSliderSetsDecibelsAndSilenceCrossesTheSpeaker) {
    QovOvixHeader& h = show();
    // A click on the track takes the knob there, not a page towards it.
    QTest::mouseClick(h.volumeSlider(), Qt::LeftButton, {}, h.volumeSlider()->rect().center());
    EXPECT_NEAR(h.volumeSlider()->value(), 500, 5);
    h.volumeSlider()->setValue(500);
    EXPECT_NEAR(host.playback->volume, -12.04, 0.01);
    h.volumeSlider()->setValue(0);
    EXPECT_FLOAT_EQ(host.playback->volume, -100);
    h.refresh();
    EXPECT_EQ(h.volumeButton()->symbol(), QStringLiteral("speaker.slash.fill"));
    host.playback->volume = -6;
    h.refresh();
    EXPECT_EQ(h.volumeSlider()->value(), 708);
    EXPECT_EQ(h.volumeButton()->symbol(), QStringLiteral("speaker.wave.2.fill"));
    QTest::mouseClick(h.volumeButton(), Qt::LeftButton);
    h.refresh();
    EXPECT_TRUE(host.playback->muted);
    EXPECT_EQ(h.volumeSlider()->value(), 0);
    EXPECT_FLOAT_EQ(host.playback->volume, -6);  // refreshing the slider sets nothing
}

TEST_F(OvixHeader, TheCoverOfThePlayingTrackArrivesFromTheBackground) {
    QovOvixHeader& h = show();
    auto song = track("Song");
    host.art->set(song->get_path(), picture(Qt::red));
    host.playback->play(song);
    h.refresh();
    EXPECT_TRUE(h.cover()->showsPlaceholder());
    ASSERT_TRUE(spinUntil([&] { return coverShown(); }));
    EXPECT_EQ(middle(h.cover()->image()), QColor(Qt::red));

    host.playback->stopWith(playback_control::stop_reason_user);
    h.refresh();
    EXPECT_TRUE(h.cover()->showsPlaceholder());
}

TEST_F(OvixHeader, BrokenOrHugeArtNeverShowsWrongly) {
    QovOvixHeader& h = show();
    auto broken = track("Broken");
    host.art->set(broken->get_path(), QByteArray("\xff\xd8\xff garbage", 12));
    host.playback->play(broken);
    h.refresh();
    ASSERT_TRUE(spinUntil([&] { return host.art->finished == 1; }));
    spinFor(50ms);
    EXPECT_TRUE(h.cover()->showsPlaceholder());

    auto huge = track("Huge");
    host.art->set(huge->get_path(), picture(Qt::blue, QSize(5472, 3648), "JPG"));
    host.playback->play(huge);
    h.refresh();
    ASSERT_TRUE(spinUntil([&] { return coverShown(); }));
    EXPECT_LE(h.cover()->image().width(), 80 * h.cover()->devicePixelRatioF());
}

TEST_F(OvixHeader, OnlyTheLastOfQuickTrackChangesShowsItsCover) {
    QovOvixHeader& h = show();
    host.art->delayMs = 120;
    std::vector<service_ptr_t<MemoryTrack>> tracks;
    for (int i = 0; i < 8; ++i) {
        tracks.push_back(track("Fast " + std::to_string(i)));
        if (i < 7) host.art->set(tracks.back()->get_path(), picture(Qt::green));
    }
    for (const auto& t : tracks) {
        host.playback->play(t);
        h.refresh();
        spinFor(50ms);
    }
    // The last one has no art: the earlier fetches end and show nothing.
    ASSERT_TRUE(spinUntil([&] { return host.art->finished == host.art->queries; }));
    spinFor(100ms);
    EXPECT_TRUE(h.cover()->showsPlaceholder());

    auto last = track("Last");
    host.art->set(last->get_path(), picture(Qt::yellow));
    host.playback->play(tracks[0]);
    h.refresh();
    host.playback->play(last);
    h.refresh();
    ASSERT_TRUE(spinUntil([&] { return coverShown(); }));
    ASSERT_TRUE(spinUntil([&] { return host.art->finished == host.art->queries; }));
    spinFor(100ms);
    EXPECT_EQ(middle(h.cover()->image()), QColor(Qt::yellow));
}

TEST_F(OvixHeader, AHeaderClosedDuringAFetchLetsItEndQuietly) {
    QovOvixHeader& h = show();
    host.art->delayMs = 300;
    auto song = track("Song");
    host.art->set(song->get_path(), picture(Qt::red));
    host.playback->play(song);
    h.refresh();
    ASSERT_TRUE(spinUntil([&] { return host.art->queries == 1; }));
    controller.reset();
    // Cancelled at once: the fetch ends well before its read would have.
    ASSERT_TRUE(spinUntil([&] { return host.art->finished == 1; }, 250ms));
}

TEST_F(OvixHeader, ScreenReadersHearWhichTogglesAreOn) {
    QovOvixHeader& h = show();
    host.playlists->playback_order_set_active(orderIndex("Shuffle (tracks)"));
    h.refresh();
    QAccessibleInterface* shuffle = QAccessible::queryAccessibleInterface(h.shuffleButton());
    ASSERT_NE(shuffle, nullptr);
    EXPECT_EQ(shuffle->text(QAccessible::Name), QStringLiteral("Shuffle"));
    EXPECT_TRUE(shuffle->state().checkable);
    EXPECT_TRUE(shuffle->state().checked);
    QAccessibleInterface* repeat = QAccessible::queryAccessibleInterface(h.repeatButton());
    EXPECT_EQ(repeat->text(QAccessible::Name), QStringLiteral("Repeat playlist"));
    EXPECT_FALSE(repeat->state().checked);
    QAccessibleInterface* title = QAccessible::queryAccessibleInterface(h.titleLabel());
    EXPECT_EQ(title->text(QAccessible::Name), QStringLiteral("quorvane"));
    // Toggled through the interface, as a screen reader would: the host decides.
    shuffle->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(host.playlists->playback_order_get_active(), 0u);
    EXPECT_FALSE(h.shuffleButton()->isChecked());
    repeat->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(host.playlists->playback_order_get_active(), orderIndex("Repeat (playlist)"));
    EXPECT_TRUE(h.repeatButton()->isChecked());
}

// The panel's four parts as boxes of known size: the transport stays centred,
// the information gives way to it, and the right column is never run over.
TEST(OvixHeaderLayout, TransportCentredInformationGivesWayRightColumnKeepsItsRoom) {
    struct Box : QWidget {
        QSize hint;
        explicit Box(QSize size) : hint(size) {}
        QSize sizeHint() const override { return hint; }
    };
    testApplication();
    QWidget panel;
    auto* layout = new OvixHeaderLayout(&panel);
    auto add = [&](QSize size) {
        auto* box = new Box(size);
        layout->addWidget(box);
        return box;
    };
    Box* cover = add({80, 80});
    Box* info = add({400, 60});
    Box* transport = add({200, 40});
    Box* right = add({150, 50});

    // 16 + 150 + 12 on each side of the centred transport.
    const int narrowest = 200 + 2 * 178;
    EXPECT_EQ(panel.minimumSizeHint().width(), narrowest);
    for (int width : {narrowest, 1000}) {
        SCOPED_TRACE(width);
        layout->setGeometry(QRect(0, 0, width, 96));
        EXPECT_EQ(cover->geometry(), QRect(8, 8, 80, 80));
        EXPECT_EQ(transport->geometry(), QRect((width - 200) / 2, 28, 200, 40));
        EXPECT_EQ(right->geometry(), QRect(width - 12 - 150, 23, 150, 50));
        EXPECT_GE(right->x(), transport->x() + 200 + 16);
        EXPECT_EQ(info->x(), 98);
        EXPECT_EQ(info->x() + info->width(), std::min(98 + 400, transport->x() - 16));
    }
}

}  // namespace
