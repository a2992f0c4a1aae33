#include "SeekbarScene.h"

#include <algorithm>
#include <cmath>

namespace wave {

namespace {

class SceneBuilder {
public:
    SceneBuilder(const SeekbarState& s, const TextMeasure& measure)
        : m_s(s), m_g(s.width, s.height, s.sideTimes), m_measure(measure) {}

    std::vector<SeekbarOp> build() {
        fill(SeekbarRole::Background, QRectF(0, 0, m_s.width, m_s.height));
        const double t = m_s.dragging ? m_s.dragPos : m_s.position;
        if (m_s.sideTimes) sideTimes(t);
        const double posX = m_g.positionX(t, m_s.length);
        if (m_s.waveform) {
            layer(m_s.waveform->peak, SeekbarRole::PlayedPeak, SeekbarRole::RestPeak, posX);
            layer(m_s.waveform->rms, SeekbarRole::PlayedRms, SeekbarRole::RestRms, posX);
        } else {
            fill(SeekbarRole::RestPeak, QRectF(m_g.waveX(), m_g.midY() - 0.5, m_g.waveW(), 1));
        }
        if (m_s.length > 0) {
            fill(SeekbarRole::PositionLine, QRectF(std::floor(posX), 0, 1, m_s.height));
            if (m_s.dragging) {
                if (m_g.insideWave(posX)) label(posX, m_g.timeAtX(posX, m_s.length));
            } else if (m_g.insideWave(m_s.hoverX)) {
                fill(SeekbarRole::HoverLine, QRectF(std::floor(m_s.hoverX), 0, 1, m_s.height));
                label(m_s.hoverX, m_g.timeAtX(m_s.hoverX, m_s.length));
            }
        }
        return std::move(m_ops);
    }

private:
    void fill(SeekbarRole role, const QRectF& r) {
        SeekbarOp op;
        op.role = role;
        op.rect = r;
        m_ops.push_back(op);
    }

    void text(SeekbarRole role, SeekbarFont font, QPointF origin, std::string s) {
        SeekbarOp op;
        op.kind = SeekbarOp::Text;
        op.role = role;
        op.origin = origin;
        op.text = std::move(s);
        op.font = font;
        m_ops.push_back(std::move(op));
    }

    void layer(const std::vector<float>& values, SeekbarRole played, SeekbarRole rest, double posX) {
        const int n = m_g.columnCount();
        for (int k = 0; k < n; ++k) {
            const auto [b0, b1] = SeekbarGeometry::binRange(k, n);
            const float v = std::min(*std::max_element(values.begin() + b0, values.begin() + b1), 1.0f);
            const double half = std::max(double(v) * m_g.halfH(), 0.5);
            const double x = m_g.waveX() + k;
            fill(x < posX ? played : rest, QRectF(x, m_g.midY() - half, 1, 2 * half));
        }
    }

    void label(double x, double time) {
        std::string s = formatTime(time);
        const QSizeF size = m_measure(s, SeekbarFont::Label);
        const double boxW = size.width() + 10, boxH = size.height() + 4;
        const double top = m_g.midY() - size.height() / 2 - 2;
        // Flip to the left of the cursor when the box would run past the right edge.
        const double left = m_s.width < x + 6 + boxW ? x - 6 - boxW : x + 6;
        SeekbarOp box;
        box.kind = SeekbarOp::RoundedFill;
        box.role = SeekbarRole::LabelBox;
        box.rect = QRectF(left, top, boxW, boxH);
        box.radius = 4;
        m_ops.push_back(box);
        text(SeekbarRole::LabelText, SeekbarFont::Label, QPointF(left + 5, top + 2), std::move(s));
    }

    void sideTimes(double t) {
        if (!(m_s.length > 0)) return;
        std::string left = formatTime(t), right = formatTime(m_s.length);
        const QSizeF l = m_measure(left, SeekbarFont::Side), r = m_measure(right, SeekbarFont::Side);
        text(SeekbarRole::SideText, SeekbarFont::Side,
             QPointF(m_g.waveX() - 8 - l.width(), m_g.midY() - l.height() / 2), std::move(left));
        text(SeekbarRole::SideText, SeekbarFont::Side,
             QPointF(m_s.width - m_g.waveX() + 8, m_g.midY() - r.height() / 2), std::move(right));
    }

    const SeekbarState& m_s;
    SeekbarGeometry m_g;
    const TextMeasure& m_measure;
    std::vector<SeekbarOp> m_ops;
};

}  // namespace

std::vector<SeekbarOp> buildSeekbarScene(const SeekbarState& state, const TextMeasure& measure) {
    return SceneBuilder(state, measure).build();
}

}  // namespace wave
