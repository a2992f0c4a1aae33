#pragma once

// The colour of each seekbar role, from the configured colours (if any) and
// the system colours of an appearance.

#include "SeekbarScene.h"
#include "SystemColors.h"

#include <QColor>

#include <optional>

namespace wave {

class SeekbarPalette {
public:
    SeekbarPalette(std::optional<QColor> played, std::optional<QColor> rest, platform::Appearance appearance);

    QColor color(SeekbarRole role) const;

private:
    QColor m_colors[int(SeekbarRole::SideText) + 1];
};

}  // namespace wave
