#pragma once

// What the seekbar draws, as an ordered list of filled rectangles and texts in
// colour roles. The view only resolves the roles to colours and paints.

#include "SeekbarGeometry.h"
#include "Waveform.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <string>
#include <vector>

namespace wave {

enum class SeekbarRole {
    Background,
    PlayedPeak,
    PlayedRms,
    RestPeak,  // also the flat line when there is no waveform
    RestRms,
    PositionLine,
    HoverLine,
    LabelBox,
    LabelText,
    SideText,
};

enum class SeekbarFont { Label, Side };

struct SeekbarState {
    double width = 0;
    double height = 0;
    bool sideTimes = false;
    double position = 0;
    double length = 0;
    bool dragging = false;
    double dragPos = 0;
    double hoverX = -1;
    const Waveform* waveform = nullptr;
};

struct SeekbarOp {
    enum Kind { Fill, RoundedFill, Text };
    Kind kind = Fill;
    SeekbarRole role = SeekbarRole::Background;
    QRectF rect{};       // Fill, RoundedFill
    double radius = 0;   // RoundedFill
    QPointF origin{};    // Text: top left
    std::string text{};  // Text
    SeekbarFont font = SeekbarFont::Label;
};

using TextMeasure = std::function<QSizeF(const std::string&, SeekbarFont)>;

std::vector<SeekbarOp> buildSeekbarScene(const SeekbarState& state, const TextMeasure& measure);

}  // namespace wave
