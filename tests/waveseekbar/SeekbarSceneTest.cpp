#include "ColorText.h"
#include "SeekbarScene.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wave {
namespace {

// 7 points a character, 14 high: enough to check placement.
QSizeF measure(const std::string& s, SeekbarFont) { return QSizeF(7.0 * s.size(), 14); }

std::vector<SeekbarOp> ops(const SeekbarState& s, SeekbarOp::Kind kind, SeekbarRole role) {
    std::vector<SeekbarOp> out;
    for (auto& op : buildSeekbarScene(s, measure))
        if (op.kind == kind && op.role == role) out.push_back(op);
    return out;
}

TEST(SeekbarGeometry, WaveAreaAndTimes) {
    EXPECT_DOUBLE_EQ(SeekbarGeometry(100, 40, true).waveW(), 1);
    EXPECT_DOUBLE_EQ(SeekbarGeometry(400, 40, true).waveX(), 54);
    EXPECT_DOUBLE_EQ(SeekbarGeometry(400, 40, true).waveW(), 292);
    SeekbarGeometry g(400, 40, false);
    EXPECT_DOUBLE_EQ(g.positionX(300, 200), 600);  // past the end: not clamped
    EXPECT_DOUBLE_EQ(g.positionX(5, 0), 0);
    EXPECT_DOUBLE_EQ(g.timeForX(-10, 200), 0);
    EXPECT_DOUBLE_EQ(g.timeForX(500, 200), 200);
    EXPECT_DOUBLE_EQ(g.timeForX(100, 200), 50);
}

TEST(SeekbarGeometry, ColumnsCoverAtLeastOneBin) {
    EXPECT_EQ(SeekbarGeometry::binRange(0, 1000), std::make_pair(size_t(0), size_t(2)));
    EXPECT_EQ(SeekbarGeometry::binRange(999, 1000), std::make_pair(size_t(2045), size_t(2048)));
    EXPECT_EQ(SeekbarGeometry::binRange(0, 4096), std::make_pair(size_t(0), size_t(1)));
    EXPECT_EQ(SeekbarGeometry::binRange(1, 4096), std::make_pair(size_t(0), size_t(1)));
    EXPECT_EQ(SeekbarGeometry::binRange(4095, 4096), std::make_pair(size_t(2047), size_t(2048)));
    EXPECT_EQ(SeekbarGeometry(400.5, 40, false).columnCount(), 401);
}

TEST(FormatTime, MinutesThenHoursTruncated) {
    EXPECT_EQ(formatTime(59.9), "0:59");
    EXPECT_EQ(formatTime(3599.99), "59:59");
    EXPECT_EQ(formatTime(3600), "1:00:00");
    EXPECT_EQ(formatTime(3725), "1:02:05");
    EXPECT_EQ(formatTime(std::nan("")), "0:00");
    EXPECT_EQ(formatTime(1e300), "0:00");
}

TEST(SeekbarScene, ColumnsTakeThePlayedColourLeftOfThePosition) {
    Waveform w;
    std::fill(w.peak.begin(), w.peak.end(), 2.0f);  // clipped audio
    SeekbarState s{.width = 100, .height = 40, .position = 50, .length = 100, .waveform = &w};
    auto played = ops(s, SeekbarOp::Fill, SeekbarRole::PlayedPeak);
    auto rest = ops(s, SeekbarOp::Fill, SeekbarRole::RestPeak);
    ASSERT_EQ(played.size(), 50u);
    ASSERT_EQ(rest.size(), 50u);
    EXPECT_DOUBLE_EQ(played[0].rect.height(), 2 * 18.0);  // full half height, no more
    EXPECT_DOUBLE_EQ(rest[0].rect.x(), 50);
    // Silent RMS still draws a one-point line.
    auto rms = ops(s, SeekbarOp::Fill, SeekbarRole::RestRms);
    ASSERT_FALSE(rms.empty());
    EXPECT_DOUBLE_EQ(rms[0].rect.height(), 1);
    EXPECT_DOUBLE_EQ(rms[0].rect.y(), 19.5);
}

TEST(SeekbarScene, RmsLayerIsDrawnOverThePeakLayerEachFromItsOwnValues) {
    Waveform w;
    std::fill(w.peak.begin(), w.peak.end(), 0.8f);
    std::fill(w.rms.begin(), w.rms.end(), 0.4f);
    SeekbarState s{.width = 100, .height = 40, .position = 50, .length = 100, .waveform = &w};
    const auto scene = buildSeekbarScene(s, measure);
    auto isPeak = [](const SeekbarOp& op) {
        return op.role == SeekbarRole::PlayedPeak || op.role == SeekbarRole::RestPeak;
    };
    auto isRms = [](const SeekbarOp& op) {
        return op.role == SeekbarRole::PlayedRms || op.role == SeekbarRole::RestRms;
    };
    const auto lastPeak = std::find_if(scene.rbegin(), scene.rend(), isPeak);
    const auto firstRms = std::find_if(scene.begin(), scene.end(), isRms);
    ASSERT_NE(firstRms, scene.end());
    EXPECT_LT(scene.rend() - lastPeak - 1, firstRms - scene.begin());
    for (const auto& op : scene) {
        if (isPeak(op)) EXPECT_FLOAT_EQ(op.rect.height(), 2 * 0.8f * 18);
        if (isRms(op)) EXPECT_FLOAT_EQ(op.rect.height(), 2 * 0.4f * 18);
    }
}

TEST(SeekbarScene, NoWaveformDrawsTheFlatLineAndNoTrackNoPosition) {
    SeekbarState s{.width = 200, .height = 40, .sideTimes = true, .hoverX = 100};
    auto line = ops(s, SeekbarOp::Fill, SeekbarRole::RestPeak);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].rect, QRectF(54, 19.5, 92, 1));
    EXPECT_TRUE(ops(s, SeekbarOp::Fill, SeekbarRole::PositionLine).empty());
    EXPECT_TRUE(ops(s, SeekbarOp::Text, SeekbarRole::SideText).empty());
}

TEST(SeekbarScene, HoverLabelFlipsNearTheRightEdge) {
    SeekbarState s{.width = 300, .height = 40, .position = 0, .length = 300, .hoverX = 20};
    auto box = ops(s, SeekbarOp::RoundedFill, SeekbarRole::LabelBox);
    ASSERT_EQ(box.size(), 1u);
    EXPECT_DOUBLE_EQ(box[0].rect.left(), 26);
    EXPECT_DOUBLE_EQ(box[0].rect.width(), 4 * 7 + 10);  // "0:20"
    auto text = ops(s, SeekbarOp::Text, SeekbarRole::LabelText);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].text, "0:20");
    EXPECT_EQ(text[0].origin, QPointF(31, 20 - 7 - 2 + 2));

    s.hoverX = 280;
    box = ops(s, SeekbarOp::RoundedFill, SeekbarRole::LabelBox);
    ASSERT_EQ(box.size(), 1u);
    EXPECT_DOUBLE_EQ(box[0].rect.right(), 274);
    EXPECT_EQ(ops(s, SeekbarOp::Fill, SeekbarRole::HoverLine)[0].rect, QRectF(280, 0, 1, 40));
}

TEST(SeekbarScene, HoverOutsideOrDraggingFollowsTheRules) {
    SeekbarState s{.width = 300, .height = 40, .length = 300, .hoverX = -1};
    EXPECT_TRUE(ops(s, SeekbarOp::Fill, SeekbarRole::HoverLine).empty());

    // While dragging the label follows the drag, and no hover line is drawn.
    s.hoverX = 10;
    s.dragging = true;
    s.dragPos = 150;
    s.position = 20;
    EXPECT_TRUE(ops(s, SeekbarOp::Fill, SeekbarRole::HoverLine).empty());
    EXPECT_EQ(ops(s, SeekbarOp::Fill, SeekbarRole::PositionLine)[0].rect.x(), 150);
    EXPECT_EQ(ops(s, SeekbarOp::Text, SeekbarRole::LabelText)[0].text, "2:30");
}

TEST(SeekbarScene, SideTimesSitEightPointsOutsideTheWave) {
    SeekbarState s{.width = 300, .height = 40, .sideTimes = true, .position = 61, .length = 3725};
    auto texts = ops(s, SeekbarOp::Text, SeekbarRole::SideText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "1:01");
    EXPECT_EQ(texts[0].origin, QPointF(54 - 8 - 28, 13));
    EXPECT_EQ(texts[1].text, "1:02:05");
    EXPECT_EQ(texts[1].origin, QPointF(300 - 54 + 8, 13));
}

TEST(ColorText, ParsesOnlySixHexDigitsAndRoundsHalvesUp) {
    EXPECT_EQ(colorFromText("ff8000")->rgb(), QColor(255, 128, 0).rgb());
    EXPECT_EQ(colorFromText("FF0000")->rgb(), QColor(255, 0, 0).rgb());
    EXPECT_FALSE(colorFromText("FF80"));
    EXPECT_FALSE(colorFromText(""));
    EXPECT_FALSE(colorFromText("12ZZZZ"));
    EXPECT_FALSE(colorFromText(" FF000"));
    EXPECT_EQ(colorText(QColor(255, 0, 0)), "FF0000");
    EXPECT_EQ(colorText(QColor::fromRgbF(0.5f, 0.0f, 1.0f)), "8000FF");
    EXPECT_EQ(colorText(QColor()), "");
    EXPECT_EQ(colorText(*colorFromText("0a0B0c")), "0A0B0C");
}

}  // namespace
}  // namespace wave
