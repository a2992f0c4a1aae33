#include "SeekbarPalette.h"

namespace wave {

namespace {
QColor withAlpha(QColor c, float alpha) {
    c.setAlphaF(alpha);
    return c;
}
}  // namespace

SeekbarPalette::SeekbarPalette(std::optional<QColor> played, std::optional<QColor> rest,
                               platform::Appearance appearance) {
    using platform::SystemColor;
    auto system = [appearance](SystemColor c) { return platform::SystemColors::color(c, appearance); };
    const QColor playedColor = played ? *played : platform::SystemColors::accentColor(appearance);
    const QColor label = system(SystemColor::Label);
    auto set = [this](SeekbarRole r, QColor c) { m_colors[int(r)] = c; };
    set(SeekbarRole::Background, system(SystemColor::ControlBackground));
    set(SeekbarRole::PlayedPeak, withAlpha(playedColor, 0.55f));
    set(SeekbarRole::PlayedRms, playedColor);
    set(SeekbarRole::RestPeak, rest ? withAlpha(*rest, 0.45f) : system(SystemColor::TertiaryLabel));
    set(SeekbarRole::RestRms, rest ? *rest : system(SystemColor::SecondaryLabel));
    set(SeekbarRole::PositionLine, label);
    set(SeekbarRole::HoverLine, withAlpha(label, 0.4f));
    set(SeekbarRole::LabelBox, withAlpha(label, 0.85f));
    set(SeekbarRole::LabelText, system(SystemColor::TextBackground));
    set(SeekbarRole::SideText, system(SystemColor::SecondaryLabel));
}

QColor SeekbarPalette::color(SeekbarRole role) const { return m_colors[int(role)]; }

}  // namespace wave
