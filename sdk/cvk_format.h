#pragma once

// Number formatting of the SDK's string types.

#include "cvk_string.h"
#include "sdk_export.h"

namespace cvk {

// `value` with `precision` digits after the point, right-aligned in at least
// `width` characters (both capped at 1024). A value that rounds to zero prints
// without a minus sign: -0.001 at precision 2 is "0.00".
QOV_SDK_API stringLite format_float(double value, unsigned width, unsigned precision);

}  // namespace cvk
