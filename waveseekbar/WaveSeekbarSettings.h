#pragma once

// The seekbar's two colours. Empty means "follow the system colours".

#include "cfg_var.h"

#include <QColor>

#include <optional>

extern cfg_var_modern::cfg_string cfg_colorPlayed;
extern cfg_var_modern::cfg_string cfg_colorRest;

// Read afresh on every use; an invalid text counts as no colour.
std::optional<QColor> colorFromCfg(cfg_var_modern::cfg_string& setting);
